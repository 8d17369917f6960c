#include "overwrite.h"

#include "filelock.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

// Writes bytes at the start of the file; returns how many were written before
// the first failure.
qsizetype writeAtStart(int fd, QByteArrayView bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, std::size_t(bytes.size() - done), done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += n;
    }
    return done;
}

} // namespace

bool overwriteInPlace(const QString& path, QByteArrayView contents)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite | QIODevice::ExistingOnly | QIODevice::Unbuffered))
        return false;
    // Another copy writing in place at the same moment (a second login) would
    // interleave its writes and cuts with these, and one loading the file
    // would read them half done: each waits for the other.
    if (!waitForFileLock(file.handle(), FileLock::Exclusive))
        return false;
    const QByteArray old = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    const int fd = file.handle();

    // Old bytes that the new ones have replaced so far.
    qsizetype touched = writeAtStart(fd, contents);
    bool done = touched == contents.size() && ::ftruncate(fd, contents.size()) == 0;
    if (done)
        touched = std::max(touched, old.size()); // the cut took any old bytes past the new end
    if (done && ::fsync(fd) == 0)
        return true;
    // Putting back what was replaced needs no new room: those bytes lie within
    // the old length and below any size limit that let them be written.
    writeAtStart(fd, QByteArrayView(old).first(std::min(touched, old.size())));
    [[maybe_unused]] const int cut = ::ftruncate(fd, old.size());
    ::fsync(fd);
    return false;
}
