#include "system/new_file.hpp"

#include "system/removal_on_signal.hpp"

#include <boost/filesystem.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace Vemo {

namespace {

/// The folder that will hold `path`.
std::string folder_of(const std::string& path)
{
    const std::string folder = boost::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

/// Whether the system refused an unnamed file because the file system (or
/// the kernel) has none, rather than for a reason of the folder.
bool unnamed_files_unsupported(int error)
{
    return error == EOPNOTSUPP || error == EISDIR || error == EINVAL;
}

/// The path through which an open file can be linked to a name.
std::string descriptor_path(int descriptor)
{
    return "/proc/self/fd/" + std::to_string(descriptor);
}

}  // namespace

New_file::New_file(std::string file_path) : path(std::move(file_path)) {}

New_file::~New_file()
{
    close();
    discard();
}

int New_file::create()
{
    // An empty name names no file: an unnamed file could be made in the
    // current folder, but never be given that name.
    if (path.empty())
        return ENOENT;
    // The path is looked at once more before any work: whatever appeared
    // there since the writer was made, a dangling link included, is refused
    // now rather than after the conversion.
    struct stat existing;
    if (::lstat(path.c_str(), &existing) == 0)
        return EEXIST;
    const int error = create_unnamed();
    return unnamed_files_unsupported(error) ? create_named() : error;
}

int New_file::create_unnamed()
{
    writing = ::open(folder_of(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (writing < 0)
        return errno;
    // Without /proc the finished file could not be given its name.
    struct stat status;
    if (::stat(descriptor_path(writing).c_str(), &status) != 0) {
        close();
        return EOPNOTSUPP;
    }
    return keep_identity(Kind::unnamed);
}

int New_file::create_named()
{
    // O_EXCL makes creation and the existence test one step, so nothing that
    // appeared meanwhile is overwritten, and no link is followed. The signals
    // that would remove the file wait until its removal is ready.
    hold_ending_signals();
    writing = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    const int error = writing < 0 ? errno : keep_identity(Kind::named);
    if (created())
        arm_removal_on_signal(path.c_str(), identity);
    release_ending_signals();
    return error;
}

int New_file::keep_identity(Kind created_as)
{
    identity = ::fcntl(writing, F_DUPFD_CLOEXEC, 0);
    if (identity >= 0) {
        kind = created_as;
        return 0;
    }
    // Without its identity a named file could not be removed safely after a
    // failure, so it is not kept.
    const int error = errno;
    if (created_as == Kind::named)
        ::unlink(path.c_str());
    close();
    return error;
}

bool New_file::write(const void* bytes, std::size_t count)
{
    const char* next = static_cast<const char*>(bytes);
    while (count > 0) {
        const ssize_t written = ::write(writing, next, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

int New_file::hand_over() { return std::exchange(writing, -1); }

bool New_file::close()
{
    const int held = std::exchange(writing, -1);
    return held < 0 || ::close(held) == 0 || errno == EINTR;
}

int New_file::publish()
{
    if (!created())
        return EBADF;
    int error = 0;
    if (kind == Kind::unnamed) {
        // A link to the unnamed file through its descriptor. linkat never
        // replaces a path: if anything appeared there meanwhile, it stays.
        if (::linkat(AT_FDCWD, descriptor_path(identity).c_str(), AT_FDCWD, path.c_str(),
                     AT_SYMLINK_FOLLOW) != 0)
            error = errno;
    } else if (!path_names_ours()) {
        // A named file that someone replaced meanwhile is theirs now.
        error = EEXIST;
    }
    if (error == 0)
        forget();
    return error;
}

void New_file::discard()
{
    // An unnamed file is gone with its last descriptor; a named one only
    // while the path still names it, so a file put there by anyone else stays.
    if (kind == Kind::named && path_names_ours())
        ::unlink(path.c_str());
    forget();
}

bool New_file::path_names_ours() const
{
    // The same test as a signal's removal makes.
    return path_names_file(path.c_str(), identity);
}

void New_file::forget()
{
    if (!created())
        return;
    if (kind == Kind::named)
        disarm_removal_on_signal();
    ::close(std::exchange(identity, -1));
}

}  // namespace Vemo
