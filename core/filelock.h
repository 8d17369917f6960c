#pragma once

// Copies of the program reading month.dat and writing it in place (two
// logins on one folder) take turns through these locks: readers share the
// file, a writer in place has it to itself, so that a reader never sees a
// list half written. They are flock locks, the same kind for every copy.
// Where the file system has no locks, each goes ahead without.
enum class FileLock { Shared, Exclusive };

// Waits until the open file holds the lock; it goes when the file is closed.
void waitForFileLock(int fd, FileLock kind);
