#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

class DateList;

// month.dat: the date list between runs, one row per line, each line ended
// by CR LF. Nothing else is stored.
namespace DateStore {

// month.dat in the directory of the running executable.
QString defaultPath();

// Splits file contents into lines: a line ends at CR, LF or CR LF; a NUL ends
// the contents; a final line end starts no further line.
std::vector<QByteArrayView> splitLines(const QByteArray& contents);
// Every row followed by CR LF.
QByteArray joinLines(const DateList& list);

// Loads the file into the list (sorted), once a copy writing it in place has
// done. A missing file leaves the list as it is; a file that cannot be read
// throws "Cannot open file <path>".
void load(const QString& path, DateList& list);

// Writes the list beside the file, has the disk store it, and then puts it
// in the file's place, so the file always holds either the old or the new
// list, whole. Where the folder refuses a new file but the file itself is
// writable, the file is written in place, and a failed write leaves the old
// list in it, whole. Any failure, a disk that reports it could not store the
// file included, throws "Cannot create file <path>".
void save(const QString& path, const DateList& list);

// For a run whose load of the file failed, so that the list holds only the
// rows entered since and must never take the place of the file's rows:
// adds the file's rows to the list as if each were added in turn, when the
// file can be read now. False, the list as it was, when it cannot (or is too
// large to be).
bool addStoredRows(const QString& path, DateList& list);
// Writes the list into a new file beside the store instead: month_kept_1.dat,
// or the first number not yet taken, never over an earlier one. Returns its
// path; a failure throws "Cannot create file <that path>".
QString keepBeside(const QString& path, const DateList& list);

} // namespace DateStore
