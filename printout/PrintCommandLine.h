#pragma once

class QApplication;

// tambrel-print: prints a command file, or composes and prints the marked
// slips of a slip type, without dialogs, for scripts and unattended runs.
namespace PrintCommandLine {

// Before the application object exists: headless when there is no screen,
// and no warnings of Qt's own on stderr, which belongs to our one line.
void prepareEnvironment();
// Runs the command line of the application; the exit status.
int run(QApplication &app);

} // namespace PrintCommandLine
