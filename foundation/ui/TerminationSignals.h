#pragma once

class QMainWindow;

// SIGTERM and SIGINT (kill, a desktop logout, a system shutdown, Ctrl+C)
// end a program as closing its main window does, without a question:
//   - the main window's terminate() runs (ConnectedMainWindow; other windows
//     are closed), so what the clerk posted is written, an unposted edit is
//     dropped with its number reservation, and the placement is saved;
//   - every message box shown from then on is answered without being shown:
//     No where the box offers it (so "未登録のデータがあります。登録しますか？"
//     drops the edit being made and writes the posted rows), OK otherwise;
//     input boxes are cancelled;
//   - when a window refuses to close, the remaining windows are closed after
//     2.5 seconds; the program ends 5 seconds after the signal at the latest
//     (exit code 1), also when it hangs after its windows closed (the
//     embedded engine's detach has been seen to spin there).
// Firebird's client library installs handlers of its own for both signals,
// which keep the program running; ours replaces them and is put back
// whenever the library installs its handlers again.
namespace TerminationSignals {

// Called once the main window is shown, before the message loop.
void install(QMainWindow *mainWindow);
// True once a termination signal arrived.
bool requested();

} // namespace TerminationSignals
