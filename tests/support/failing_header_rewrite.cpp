// Loaded before the C library into the program under test, this stands in
// for a disk that fails when a file's beginning is written again after more
// has followed it, as a sound file's header is once its frames are known: a
// write at offset 0 of a regular file that holds more than the bytes being
// written fails with EIO. Every other write passes through.

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

extern "C" ssize_t write(int descriptor, const void* bytes, size_t count)
{
    struct stat status;
    if (::lseek(descriptor, 0, SEEK_CUR) == 0 && ::fstat(descriptor, &status) == 0 &&
        S_ISREG(status.st_mode) && status.st_size > static_cast<off_t>(count)) {
        errno = EIO;
        return -1;
    }
    using Write = ssize_t (*)(int, const void*, size_t);
    static const Write real_write = reinterpret_cast<Write>(dlsym(RTLD_NEXT, "write"));
    return real_write(descriptor, bytes, count);
}
