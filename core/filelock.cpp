#include "filelock.h"

#include <QDeadlineTimer>
#include <QThread>

#include <cerrno>
#include <sys/file.h>

bool waitForFileLock(int fd, FileLock kind, int waitMs)
{
    const int operation = (kind == FileLock::Shared ? LOCK_SH : LOCK_EX) | LOCK_NB;
    const QDeadlineTimer deadline(waitMs);
    while (::flock(fd, operation) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return true; // no locks here
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}
