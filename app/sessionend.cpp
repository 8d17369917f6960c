#include "sessionend.h"

#include "main.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The desktop asks the program to end with a quit request of its own, the
// one that comes from outside; the program posts its own quit only once its
// main window has closed.
class SessionQuitWatcher : public QObject {
public:
    explicit SessionQuitWatcher(TForm1* mainWindow) : QObject(mainWindow), m_mainWindow(mainWindow)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == qApp && event->type() == QEvent::Quit && event->spontaneous())
            m_mainWindow->endWithSession();
        return false;
    }

private:
    TForm1* m_mainWindow;
};

constexpr std::array kEndSignals{SIGTERM, SIGHUP, SIGINT};

// A signal handler may do next to nothing: it writes a byte into this pipe,
// and the event loop, watching the other end, does the work. The pipe is made
// once and kept open for the whole process, so a signal at any moment finds it.
int g_signalPipe[2] = {-1, -1};

void noteEndSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

// The system asks the program to end with a signal: the dates are kept as at
// the session's end, and every event loop ends, those of modal windows too,
// which then close as cancelled.
class EndSignalWatcher : public QObject {
public:
    explicit EndSignalWatcher(TForm1* mainWindow) : QObject(mainWindow), m_mainWindow(mainWindow)
    {
        if (g_signalPipe[0] < 0 && ::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        m_notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &EndSignalWatcher::end);
        struct sigaction action = {};
        action.sa_handler = noteEndSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        // A signal ignored when the program started (nohup, a script's
        // background job) was ignored on purpose by whoever started it.
        for (std::size_t i = 0; i < kEndSignals.size(); ++i) {
            sigaction(kEndSignals[i], nullptr, &m_former[i]);
            if (m_former[i].sa_handler != SIG_IGN)
                sigaction(kEndSignals[i], &action, nullptr);
        }
    }

    ~EndSignalWatcher() override
    {
        if (!m_notifier)
            return;
        for (std::size_t i = 0; i < kEndSignals.size(); ++i)
            sigaction(kEndSignals[i], &m_former[i], nullptr);
    }

private:
    void end()
    {
        char bytes[64];
        while (::read(g_signalPipe[0], bytes, sizeof bytes) > 0) {
        }
        // A second signal while the first is handled changes nothing.
        if (m_ending)
            return;
        m_ending = true;
        m_mainWindow->endWithSession();
        QCoreApplication::exit(0);
        // A signal handled in a modal window before the program's own event
        // loop has started (the error box at start-up) ends that loop as well.
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }

    TForm1* m_mainWindow;
    QSocketNotifier* m_notifier = nullptr;
    std::array<struct sigaction, kEndSignals.size()> m_former{};
    bool m_ending = false;
};

} // namespace

void endWithTheSession(TForm1& mainWindow)
{
    TForm1* form = &mainWindow;
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, form,
                     [form](QSessionManager&) { form->saveForSessionEnd(); });
    new SessionQuitWatcher(form);
    new EndSignalWatcher(form);
}
