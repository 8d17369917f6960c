#include "filelock.h"

#include <cerrno>
#include <sys/file.h>

void waitForFileLock(int fd, FileLock kind)
{
    const int operation = kind == FileLock::Shared ? LOCK_SH : LOCK_EX;
    while (::flock(fd, operation) != 0 && errno == EINTR) {
    }
}
