#pragma once

#include <QString>

class QMainWindow;
class QApplication;

// What every program does before its main window exists, and after it
// closes: fonts, help file, title, the engine's shutdown.
namespace ProgramStart {

// Installs the substitutions of the Windows Japanese face names.
void installFontSubstitutions();
// The application title and help file after the settings are loaded.
void setTitle(const QString &title);
// Runs the message loop with the window shown, then stops the database engine.
int run(QApplication &app, QMainWindow &window);

} // namespace ProgramStart
