// Loaded into the real program (LD_PRELOAD), this stands in for a failing
// disk: every request to store a file's data on the disk fails, as when the
// disk, a pulled USB stick or a full network share cannot take it. With
// E2E_SLOW_SYNC_SECONDS set it stands in for a slow disk instead (a USB
// stick, a network home): every such request takes that long, then succeeds.

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <dlfcn.h>
#include <thread>

namespace {

int sync(int fd, const char* name)
{
    const char* seconds = std::getenv("E2E_SLOW_SYNC_SECONDS");
    if (!seconds) {
        errno = EIO;
        return -1;
    }
    std::this_thread::sleep_for(std::chrono::duration<double>(std::atof(seconds)));
    const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, name));
    return real(fd);
}

} // namespace

extern "C" int fsync(int fd)
{
    return sync(fd, "fsync");
}

extern "C" int fdatasync(int fd)
{
    return sync(fd, "fdatasync");
}
