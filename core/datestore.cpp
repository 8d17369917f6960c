#include "datestore.h"

#include "datelist.h"
#include "error.h"
#include "filelock.h"
#include "overwrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

NuvaloraError cannotCreate(const QString& path)
{
    return NuvaloraError(QStringLiteral("Cannot create file %1").arg(path));
}

// The file's whole contents, or nothing when there is no file.
std::optional<QByteArray> readStore(const QString& path)
{
    if (!QFileInfo::exists(path))
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw NuvaloraError(QStringLiteral("Cannot open file %1").arg(path));
    // Another copy may be writing the file in place (another login): its
    // list is read once it is whole. One that never lets go leaves the file
    // unread, and so never written over.
    const bool whole = waitForFileLock(file.handle(), FileLock::Shared);
    QByteArray contents = whole ? file.readAll() : QByteArray();
    if (!whole || file.error() != QFileDevice::NoError)
        throw NuvaloraError(QStringLiteral("Cannot open file %1").arg(path));
    return contents;
}

// Opens the file for writing. The dates are for their user's eyes only: a
// month.dat or kept file that this makes is readable and writable by its user
// alone, whatever the umask. A month.dat that exists keeps the mode its user
// gave it, which QSaveFile gives the file that takes its place.
bool openOwnerOnly(QIODevice& file, QIODevice::OpenMode mode)
{
    const mode_t usual = ::umask(S_IRWXG | S_IRWXO);
    const bool opened = file.open(mode);
    ::umask(usual);
    return opened;
}

// A file put in place or made anew is an entry of its folder, which the disk
// must store too, or a power cut could undo it. A folder that cannot be opened
// for this, or whose file system keeps nothing to sync, counts as stored.
bool syncFolder(const QString& folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    ::close(fd);
    return synced;
}

} // namespace

namespace DateStore {

QString defaultPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("month.dat"));
}

std::vector<QByteArrayView> splitLines(const QByteArray& contents)
{
    const char* p = contents.constData();
    const qsizetype nul = contents.indexOf('\0');
    const char* const end = p + (nul < 0 ? contents.size() : nul);

    std::vector<QByteArrayView> lines;
    lines.reserve(static_cast<std::size_t>(std::count(p, end, '\n') + std::count(p, end, '\r')) +
                  1);
    const char* start = p;
    while (p < end) {
        if (*p == '\r' || *p == '\n') {
            lines.emplace_back(start, p - start);
            if (*p == '\r' && p + 1 < end && p[1] == '\n')
                ++p;
            start = ++p;
        } else {
            ++p;
        }
    }
    if (start < end)
        lines.emplace_back(start, end - start);
    return lines;
}

QByteArray joinLines(const DateList& list)
{
    qsizetype size = 0;
    for (int i = 0; i < list.count(); ++i)
        size += list.text(i).size() + 2;
    QByteArray contents;
    contents.reserve(size);
    for (int i = 0; i < list.count(); ++i) {
        contents += list.text(i);
        contents += "\r\n";
    }
    return contents;
}

void load(const QString& path, DateList& list)
{
    const std::optional<QByteArray> contents = readStore(path);
    if (contents)
        list.assign(splitLines(*contents));
}

void save(const QString& path, const DateList& list)
{
    const QByteArray contents = joinLines(list);
    QSaveFile file(path);
    if (openOwnerOnly(file, QIODevice::WriteOnly)) {
        // A short list sits in the file's buffer until the end, and commit()
        // does not notice when writing that out falls short; flush() does.
        // Nor does commit() look at whether the disk could store the file: a
        // failing disk must leave the old list in its place.
        if (file.write(contents) != contents.size() || !file.flush() ||
            ::fsync(file.handle()) != 0 || !file.commit() ||
            !syncFolder(QFileInfo(path).canonicalPath()))
            throw cannotCreate(path);
        return;
    }
    // The folder refuses a new file beside month.dat. A month.dat that may
    // itself be written still takes the dates, in place.
    if (!QFileInfo(path).isFile() || !overwriteInPlace(path, contents))
        throw cannotCreate(path);
}

bool addStoredRows(const QString& path, DateList& list)
{
    try {
        const std::optional<QByteArray> stored = readStore(path);
        std::vector<QByteArrayView> lines;
        if (stored)
            lines = splitLines(*stored);
        for (int i = 0; i < list.count(); ++i)
            lines.emplace_back(list.text(i));
        list.assign(lines);
        return true;
    } catch (const NuvaloraError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

QString keepBeside(const QString& path, const DateList& list)
{
    const QByteArray contents = joinLines(list);
    const QFileInfo store(path);
    for (int n = 1;; ++n) {
        const QString kept = store.dir().filePath(
            QStringLiteral("%1_kept_%2.dat").arg(store.completeBaseName()).arg(n));
        QFile file(kept);
        if (!openOwnerOnly(file, QIODevice::WriteOnly | QIODevice::NewOnly)) {
            const QFileInfo taken(kept);
            if (taken.exists() || taken.isSymLink())
                continue;
            throw cannotCreate(kept);
        }
        if (file.write(contents) == contents.size() && file.flush() &&
            ::fsync(file.handle()) == 0 && syncFolder(store.absolutePath()))
            return kept;
        // QFile::remove() would keep a file whose close fails as the write did.
        file.close();
        QFile::remove(kept);
        throw cannotCreate(kept);
    }
}

} // namespace DateStore
