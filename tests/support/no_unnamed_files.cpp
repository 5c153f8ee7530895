// Loaded before the C library into the program under test, this stands in
// for a file system without unnamed files: every attempt to create one fails
// with EOPNOTSUPP, as on such a file system. All other opens pass through.

#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdarg>

extern "C" int open(const char* path, int flags, ...)
{
    mode_t mode = 0;
    if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
        va_list rest;
        va_start(rest, flags);
        mode = static_cast<mode_t>(va_arg(rest, unsigned));
        va_end(rest);
    }
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    using Open = int (*)(const char*, int, ...);
    static const Open real_open = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "open"));
    return real_open(path, flags, mode);
}

// On 64-bit systems the two names are one function.
extern "C" int open64(const char* path, int flags, ...) __attribute__((alias("open")));
