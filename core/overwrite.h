#pragma once

#include <QByteArrayView>
#include <QString>

// Replaces the contents of an existing file where it stands, for a file whose
// folder refuses a new file beside it. Either the file then holds the new
// contents, or it is left byte for byte as it was: when a write fails (a full
// disk, a file-size limit, a failing device), the bytes already overwritten
// are put back and the file is cut back to its old length. A kill in the
// middle of the write is the one end it cannot undo. The file is locked for
// the whole write, so that two writers in place take turns.
bool overwriteInPlace(const QString& path, QByteArrayView contents);
