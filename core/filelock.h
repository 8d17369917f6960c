#pragma once

// Copies of the program reading month.dat and writing it in place (two
// logins on one folder) take turns through these locks: readers share the
// file, a writer in place has it to itself, so that a reader never sees a
// list half written. They are flock locks, the same kind for every copy.
// Where the file system has no locks, each goes ahead without.
enum class FileLock { Shared, Exclusive };

// How long a copy waits for another to let go of the file. A write in place
// takes moments even on a slow disk; a copy that holds the lock for longer is
// stopped or hung, and must not hang this one with it.
constexpr int kFileLockWaitMs = 10000;

// Waits until the open file holds the lock (it goes when the file is
// closed), or where the file system has none; false when another copy still
// holds the file after the wait given.
bool waitForFileLock(int fd, FileLock kind, int waitMs = kFileLockWaitMs);
