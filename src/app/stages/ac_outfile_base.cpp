#include "app/stages/ac_outfile_base.hpp"
#include "app/stages/removal_on_signal.hpp"
#include "app/stages/value_array.hpp"

#include <boost/filesystem.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace Vemo {

namespace fs = boost::filesystem;

namespace {

/// The folder that will hold `file_name`.
std::string folder_of(const std::string& file_name)
{
    const std::string folder = fs::path(file_name).parent_path().string();
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

/// Whether the file open as `descriptor` is the one at `path`.
bool same_file(int descriptor, const std::string& path)
{
    struct stat ours;
    struct stat now;
    return ::fstat(descriptor, &ours) == 0 && ::lstat(path.c_str(), &now) == 0 &&
           now.st_dev == ours.st_dev && now.st_ino == ours.st_ino;
}

}  // namespace

Ac_outfile_base::Ac_outfile_base(const std::string& name) : file_name(name)
{
    // The link itself is looked at, not its target: a link, dangling or not,
    // is something that exists at the path.
    boost::system::error_code error;
    const fs::file_status status = fs::symlink_status(file_name, error);
    if (status.type() == fs::file_not_found)
        return;
    if (error)
        fail(file_name + " can't be examined: " + error.message() + ".");
    else
        fail(already_exists());
}

Ac_outfile_base::Ac_outfile_base(const char* name) : Ac_outfile_base(std::string(name)) {}

Ac_outfile_base::~Ac_outfile_base()
{
    close_file();
    forget_created_file();
}

bool Ac_outfile_base::set_wave_number(std::uint32_t n)
{
    wave_number = n;
    return true;
}

std::uint64_t Ac_outfile_base::memory_needed(std::uint64_t count) const
{
    return bytes_for(count, sizeof(double));
}

bool Ac_outfile_base::set_data(const double* values, std::uint64_t count)
{
    if (data)
        return false;
    data = make_value_array(count);
    std::copy(values, values + count, data.get());
    data_size = count;
    return true;
}

bool Ac_outfile_base::publish()
{
    if (created_file < 0)
        return report("Can't write data, file " + file_name + " is not open.");
    close();
    if (!ok)
        return false;
    if (unnamed && !give_name())
        return false;
    // A named file that someone replaced meanwhile is theirs now.
    if (!unnamed && !same_file(created_file, file_name))
        return fail(already_exists());
    forget_created_file();
    return true;
}

void Ac_outfile_base::remove_created_file()
{
    // An unnamed file is gone with its last descriptor; a named one only
    // while the path still names it, so a file put there by anyone else stays.
    if (created_file >= 0 && !unnamed && same_file(created_file, file_name))
        ::unlink(file_name.c_str());
    forget_created_file();
}

bool Ac_outfile_base::fail(std::string message)
{
    ok = false;
    error_message = std::move(message);
    return false;
}

bool Ac_outfile_base::report(std::string message)
{
    error_message = std::move(message);
    return false;
}

bool Ac_outfile_base::open_new_file()
{
    if (is_open)
        return true;
    if (!ok)
        return false;
    const int error = create_new_file();
    if (error == EEXIST)
        return fail(already_exists());
    if (error != 0)
        return fail("Can't open file " + file_name + ": unknown error.");
    is_open = true;
    return true;
}

int Ac_outfile_base::create_new_file()
{
    // The path is looked at once more before any work: whatever appeared
    // there since construction, a dangling link included, is refused now
    // rather than after the conversion.
    struct stat existing;
    if (::lstat(file_name.c_str(), &existing) == 0)
        return EEXIST;

    // The file is made in its folder without a name; `publish` gives it one
    // when it is complete. Until then nothing is at the path, and if the
    // program ends in any way, even killed, the file goes with it.
    descriptor = ::open(folder_of(file_name).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    unnamed = descriptor >= 0;
    if (unnamed && !can_be_named(descriptor)) {
        // Without /proc the finished file could not be given its name.
        close_file();
        unnamed = false;
        errno = EOPNOTSUPP;
    }
    if (unnamed)
        return keep_identity();
    if (!unnamed_files_unsupported(errno))
        return errno;

    // Without unnamed files the file is created at its path. O_EXCL makes
    // creation and the existence test one step, so nothing that appeared
    // meanwhile is overwritten, and no link is followed. The signals that
    // would remove it wait until the removal is ready.
    hold_ending_signals();
    descriptor = ::open(file_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    const int error = descriptor < 0 ? errno : keep_identity();
    if (created_file >= 0)
        arm_removal_on_signal(file_name.c_str(), created_file);
    release_ending_signals();
    return error;
}

bool Ac_outfile_base::can_be_named(int unnamed_descriptor)
{
    struct stat status;
    return ::stat(descriptor_path(unnamed_descriptor).c_str(), &status) == 0;
}

int Ac_outfile_base::keep_identity()
{
    created_file = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (created_file >= 0)
        return 0;
    // Without its identity a named file could not be removed safely after a
    // failure, so it is not kept.
    const int error = errno;
    if (!unnamed)
        ::unlink(file_name.c_str());
    close_file();
    unnamed = false;
    return error;
}

std::string Ac_outfile_base::already_exists() const
{
    return file_name + " already exists and will not be overwritten.";
}

bool Ac_outfile_base::ready_to_write()
{
    if (!is_open)
        return report("Can't write data, file " + file_name + " is not open.");
    if (!data)
        return report("There is no data to write to file " + file_name);
    return ok;
}

bool Ac_outfile_base::write_bytes(const void* bytes, std::size_t count)
{
    const char* next = static_cast<const char*>(bytes);
    while (count > 0) {
        const ssize_t written = ::write(descriptor, next, count);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return fail("Not all data was written to " + file_name);
        next += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

void Ac_outfile_base::close_file()
{
    // Some file systems (NFS among them) report a full disk only here.
    if (descriptor >= 0 && ::close(descriptor) != 0 && errno != EINTR && ok)
        fail("Not all data was written to " + file_name);
    descriptor = -1;
    is_open = false;
}

bool Ac_outfile_base::give_name()
{
    // A link to the unnamed file through its descriptor. linkat never
    // replaces a path: if anything appeared there meanwhile, it stays.
    if (::linkat(AT_FDCWD, descriptor_path(created_file).c_str(), AT_FDCWD, file_name.c_str(),
                 AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno == EEXIST)
        return fail(already_exists());
    return fail(file_name + " could not be created: " + std::strerror(errno) + ".");
}

void Ac_outfile_base::forget_created_file()
{
    if (created_file < 0)
        return;
    if (!unnamed)
        disarm_removal_on_signal();
    ::close(created_file);
    created_file = -1;
    unnamed = false;
}

int Ac_outfile_base::release_descriptor()
{
    const int released = descriptor;
    descriptor = -1;
    return released;
}

}  // namespace Vemo
