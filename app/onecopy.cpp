#include "onecopy.h"

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

// How long a later start waits for the running copy to answer.
constexpr int kAnswerMs = 5000;

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

// Asks the copy listening at the path to come forward. True once it has
// answered; false when nobody listens, or the copy ended without answering,
// or gave no answer in time.
bool askToComeForward(const QByteArray& path, const QDeadlineTimer& deadline)
{
    const int fd = openSocket(path, false);
    if (fd < 0)
        return false;
    pollfd answer{fd, POLLIN, 0};
    char byte = 0;
    const bool answered =
        ::poll(&answer, 1, int(deadline.remainingTime())) == 1 && ::read(fd, &byte, 1) == 1;
    ::close(fd);
    return answered;
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

    const QDeadlineTimer deadline(kAnswerMs);
    do {
        if (m_lock->tryLock()) {
            // This copy answers from now on. The name may still be taken by a
            // socket that a killed copy left behind.
            ::unlink(m_socketPath.constData());
            m_listening = openSocket(m_socketPath, true);
            if (m_listening < 0) {
                m_lock->unlock(); // later starts would wait in vain
                return;
            }
            m_notifier = new QSocketNotifier(m_listening, QSocketNotifier::Read, this);
            connect(m_notifier, &QSocketNotifier::activated, this, &OneCopy::answerLaterStarts);
            return;
        }
        if (m_lock->error() != QLockFile::LockFailedError)
            return;
        if (askToComeForward(m_socketPath, deadline)) {
            m_handedOver = true;
            return;
        }
        // The running copy is only just starting, or ending: look again.
        QThread::msleep(20);
    } while (!deadline.hasExpired());
    // No answer: a hung or stopped copy must not keep the program from starting.
}

OneCopy::~OneCopy()
{
    if (m_listening < 0)
        return;
    // The socket goes while the lock is held, so that this copy never takes
    // away the socket of a copy started after it.
    delete m_notifier;
    ::close(m_listening);
    ::unlink(m_socketPath.constData());
}

void OneCopy::bringForwardOnRequest(QWidget* mainWindow)
{
    m_mainWindow = mainWindow;
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
