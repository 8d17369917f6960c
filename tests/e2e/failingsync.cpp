// Loaded into the real program (LD_PRELOAD), this stands in for a failing
// disk: every request to store a file's data on the disk fails, as when the
// disk, a pulled USB stick or a full network share cannot take it.

#include <cerrno>

extern "C" int fsync(int)
{
    errno = EIO;
    return -1;
}

extern "C" int fdatasync(int)
{
    errno = EIO;
    return -1;
}
