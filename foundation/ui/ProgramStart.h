#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QMainWindow;

// The one start-up of every program, in this order:
//   1. the application object (message boxes, wait cursor, font
//      substitutions of the Windows face names);
//   2. beforeSettings: what a program sets up before the settings are read
//      (the print-out program's printer information, a slip entry program's
//      one-line mode);
//   3. LoadSettings, which writes back missing keys and derives the database
//      path, the computer name and the embedded-engine flag; then
//      afterSettings (the print-out program records the default printer);
//   4. the application title and help file; the main window is created, and
//      with it the connection to the database;
//   5. the message loop until the main window closes (closing writes pending
//      changes and the placement); then the window is destroyed and the
//      embedded database engine is shut down.
namespace ProgramStart {

struct Program
{
    QString name;  // application name, the program file's name
    QString title; // application title (message boxes, help window)
    std::function<void()> beforeSettings;
    std::function<void()> afterSettings;
    // Gets the command-line arguments after the program name.
    std::function<std::unique_ptr<QMainWindow>(const QStringList &arguments)> createMainWindow;
};

// Runs the program and returns its exit code.
int Run(int argc, char **argv, const Program &program);

// Installs the substitutions of the Windows Japanese face names.
void installFontSubstitutions();
// The application title and help file after the settings are loaded.
void setTitle(const QString &title);

} // namespace ProgramStart
