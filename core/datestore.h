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

// Loads the file into the list (sorted). A missing file leaves the list as
// it is; a file that cannot be read throws "Cannot open file <path>".
void load(const QString& path, DateList& list);

// Writes the list beside the file, has the disk store it, and then puts it
// in the file's place, so the file always holds either the old or the new
// list, whole. Where the folder refuses a new file but the file itself is
// writable, the file is written in place, and a failed write leaves the old
// list in it, whole. Any failure, a disk that reports it could not store the
// file included, throws "Cannot create file <path>".
void save(const QString& path, const DateList& list);

} // namespace DateStore
