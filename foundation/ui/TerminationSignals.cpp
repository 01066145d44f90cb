#include "TerminationSignals.h"

#include "ConnectedMainWindow.h"
#include "app/Messages.h"

#include <QApplication>
#include <QMainWindow>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};
bool g_requested = false;
QPointer<QMainWindow> g_window;

// Only async-signal-safe work here: the number goes to the event loop.
extern "C" void onSignal(int signal)
{
    const char byte = static_cast<char>(signal);
    const int saved = errno;
    [[maybe_unused]] const ssize_t n = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

void installHandler(int signal)
{
    struct sigaction current
    {
    };
    ::sigaction(signal, nullptr, &current);
    if (current.sa_handler == onSignal)
        return;
    struct sigaction action
    {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

// Answers every box without showing it while the program ends.
class EndingMessages : public MessageHandler
{
public:
    MsgResult showMessage(const MessageRequest &request) override
    {
        if (request.buttons & MsgButton::No)
            return MsgResult::No;
        if (request.buttons & MsgButton::Ok)
            return MsgResult::Ok;
        return MsgResult::Cancel;
    }
    bool inputQuery(const InputRequest &, QString &) override { return false; }
};

void terminate()
{
    if (g_requested)
        return;
    g_requested = true;
    static EndingMessages ending;
    Messages::setHandler(&ending);
    // A window that does not close in time, or a dialog's own loop, must not
    // keep the program running.
    QTimer::singleShot(2500, qApp, [] {
        QApplication::closeAllWindows();
        QCoreApplication::exit(0);
    });
    // The last resort does not rely on the message loop, which may be over
    // while the program hangs in its end.
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::seconds(5));
        ::_exit(1);
    }).detach();
    if (auto *connected = qobject_cast<ConnectedMainWindow *>(g_window.data()))
        connected->terminate();
    else if (g_window)
        g_window->close();
    else
        QCoreApplication::exit(0);
}

} // namespace

namespace TerminationSignals {

void install(QMainWindow *mainWindow)
{
    g_window = mainWindow;
    if (g_pipe[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0)
            return;
        ::fcntl(g_pipe[1], F_SETFL, O_NONBLOCK);
        auto *notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, qApp);
        QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
            char byte = 0;
            [[maybe_unused]] const ssize_t n = ::read(g_pipe[0], &byte, 1);
            terminate();
        });
        // The database library puts its own handlers in place when it
        // starts (at the first connection, which may come later).
        auto *watch = new QTimer(qApp);
        QObject::connect(watch, &QTimer::timeout, qApp, [] {
            installHandler(SIGTERM);
            installHandler(SIGINT);
        });
        watch->start(500);
    }
    installHandler(SIGTERM);
    installHandler(SIGINT);
}

bool requested()
{
    return g_requested;
}

} // namespace TerminationSignals
