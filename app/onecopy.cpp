#include "onecopy.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>

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
    m_lock = std::make_unique<QLockFile>(name + QStringLiteral(".lock"));
    // The lock is stale once its copy has ended, however long that copy ran.
    m_lock->setStaleLockTime(0);

    const QDeadlineTimer deadline(kAnswerMs);
    do {
        if (m_lock->tryLock()) {
            // This copy answers from now on. The name may still be taken by a
            // socket that a killed copy left behind.
            QLocalServer::removeServer(name);
            if (m_server.listen(name))
                connect(&m_server, &QLocalServer::newConnection, this, &OneCopy::answerLaterStarts);
            else
                m_lock->unlock(); // later starts would wait in vain
            return;
        }
        if (m_lock->error() != QLockFile::LockFailedError)
            return;
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(int(deadline.remainingTime())) &&
            socket.waitForReadyRead(int(deadline.remainingTime()))) {
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
    // The socket goes while the lock is held, so that it can never take away
    // the socket of a copy started after this one.
    m_server.close();
}

void OneCopy::bringForwardOnRequest(QWidget* mainWindow)
{
    m_mainWindow = mainWindow;
}

void OneCopy::answerLaterStarts()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        if (m_mainWindow && m_mainWindow->isMinimized())
            m_mainWindow->setWindowState(m_mainWindow->windowState() & ~Qt::WindowMinimized);
        QWidget* window = QApplication::activeModalWidget();
        if (!window)
            window = m_mainWindow;
        if (window) {
            window->raise();
            window->activateWindow();
        }
        // The answer tells the later start that it may end.
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        socket->write("1");
        socket->disconnectFromServer();
    }
}
