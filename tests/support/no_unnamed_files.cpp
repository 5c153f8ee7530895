// Loaded before the C library into the program under test, this stands in
// for a file system without unnamed files: every attempt to create one fails
// with EOPNOTSUPP, as on such a file system. All other opens pass through.

#include <dlfcn.h>
#include <fcntl.h>

#include <cerrno>
#include <cstdarg>

namespace {

using Open = int (*)(const char*, int, ...);

int open_unless_unnamed(const char* name, const char* path, int flags, va_list rest)
{
    const mode_t mode = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE
                            ? static_cast<mode_t>(va_arg(rest, unsigned))
                            : 0;
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    const Open real_open = reinterpret_cast<Open>(dlsym(RTLD_NEXT, name));
    return real_open(path, flags, mode);
}

}  // namespace

extern "C" int open(const char* path, int flags, ...)
{
    va_list rest;
    va_start(rest, flags);
    const int result = open_unless_unnamed("open", path, flags, rest);
    va_end(rest);
    return result;
}

extern "C" int open64(const char* path, int flags, ...)
{
    va_list rest;
    va_start(rest, flags);
    const int result = open_unless_unnamed("open64", path, flags, rest);
    va_end(rest);
    return result;
}
