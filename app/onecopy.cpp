#include "onecopy.h"

#include "main.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// The socket is a plain Unix socket rather than QLocalServer: Qt's network
// library would bring Kerberos and proxy libraries into every start, which
// shows in its time and memory.

namespace {

// How long a later start waits for a running copy that listens to answer.
constexpr int kAnswerMs = 5000;
// How long it waits for a copy that is closing (one that holds the lock but
// no longer listens) to keep its dates, on a slow disk say, and end.
constexpr int kClosingMs = 30000;

// The store's path with links resolved; the file itself need not exist yet.
QString canonicalStore(const QString& storePath)
{
    const QFileInfo store(storePath);
    const QString file = store.canonicalFilePath();
    if (!file.isEmpty())
        return file;
    const QString folder = QFileInfo(store.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? store.absolutePath() : folder) + QLatin1Char('/') + store.fileName();
}

// A socket at the path, listening or connected to it; -1 when it cannot be.
int openSocket(const QByteArray& path, bool listening)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || path.size() >= qsizetype(sizeof address.sun_path))
        return -1;
    std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    const auto* any = reinterpret_cast<const sockaddr*>(&address);
    const bool done = listening ? ::bind(fd, any, sizeof address) == 0 && ::listen(fd, 8) == 0
                                : ::connect(fd, any, sizeof address) == 0;
    if (done)
        return fd;
    ::close(fd);
    return -1;
}

enum class Answer { CameForward, NoAnswer, NotListening };

// Asks the copy listening at the path to come forward. No answer when the
// copy ended or stopped listening without answering, or gave no answer in
// time.
Answer askToComeForward(const QByteArray& path, const QDeadlineTimer& deadline)
{
    const int fd = openSocket(path, false);
    if (fd < 0)
        return Answer::NotListening;
    pollfd answer{fd, POLLIN, 0};
    char byte = 0;
    const bool answered =
        ::poll(&answer, 1, int(deadline.remainingTime())) == 1 && ::read(fd, &byte, 1) == 1;
    ::close(fd);
    return answered ? Answer::CameForward : Answer::NoAnswer;
}

} // namespace

OneCopy::OneCopy(const QString& storePath)
{
    // Without a runtime folder there is nowhere to meet: the program starts as
    // it always has.
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return;
    const QByteArray hash =
        QCryptographicHash::hash(canonicalStore(storePath).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(32);
    const QString name =
        QDir(runtime).filePath(QStringLiteral("nuvalora-%1").arg(QString::fromLatin1(hash)));
    m_socketPath = QFile::encodeName(name);
    m_lock = std::make_unique<QLockFile>(name + QStringLiteral(".lock"));
    // The lock is stale once its copy has ended, however long that copy ran.
    m_lock->setStaleLockTime(0);

    QDeadlineTimer answerDeadline(kAnswerMs);
    const QDeadlineTimer closingDeadline(kClosingMs);
    do {
        if (m_lock->tryLock()) {
            // This copy answers from now on. The name may still be taken by a
            // socket that a killed copy left behind.
            ::unlink(m_socketPath.constData());
            if (!listen())
                m_lock->unlock(); // later starts would wait in vain
            return;
        }
        if (m_lock->error() != QLockFile::LockFailedError)
            return;
        const Answer answer = askToComeForward(m_socketPath, answerDeadline);
        if (answer == Answer::CameForward) {
            m_handedOver = true;
            return;
        }
        // The running copy is closing, or only just starting: while it does
        // not listen, it is not late to answer.
        if (answer == Answer::NotListening)
            answerDeadline.setRemainingTime(kAnswerMs);
        QThread::msleep(20);
    } while (!answerDeadline.hasExpired() && !closingDeadline.hasExpired());
    // No answer: a hung or stopped copy must not keep the program from starting.
}

OneCopy::~OneCopy()
{
    // The socket goes while the lock is held, so that this copy never takes
    // away the socket of a copy started after it.
    stopListening();
}

void OneCopy::bringForwardOnRequest(TForm1& mainWindow)
{
    m_mainWindow = &mainWindow;
    // A copy that is closing brings nothing forward: a later start waits
    // for it to end, and then opens its own window.
    connect(&mainWindow, &TForm1::closingChanged, this, [this](bool closing) {
        if (closing)
            stopListening();
        else if (m_lock && m_lock->isLocked() && m_listening < 0)
            listen();
    });
}

bool OneCopy::listen()
{
    m_listening = openSocket(m_socketPath, true);
    if (m_listening < 0)
        return false;
    m_notifier = new QSocketNotifier(m_listening, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &OneCopy::answerLaterStarts);
    return true;
}

void OneCopy::stopListening()
{
    if (m_listening < 0)
        return;
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_listening);
    m_listening = -1;
    ::unlink(m_socketPath.constData());
}

void OneCopy::answerLaterStarts()
{
    int later;
    while ((later = ::accept4(m_listening, nullptr, nullptr, SOCK_CLOEXEC)) >= 0) {
        if (m_mainWindow && m_mainWindow->isMinimized())
            m_mainWindow->setWindowState(m_mainWindow->windowState() & ~Qt::WindowMinimized);
        QWidget* window = QApplication::activeModalWidget();
        if (!window)
            window = m_mainWindow;
        if (window) {
            window->raise();
            window->activateWindow();
        }
        // The answer tells the later start that it may end; one that gave up
        // waiting is no reason to end this program.
        [[maybe_unused]] const ssize_t sent = ::send(later, "1", 1, MSG_NOSIGNAL);
        ::close(later);
    }
}
