#include "app/stages/ac_outfile_base.hpp"
#include "app/stages/value_array.hpp"

#include <boost/filesystem.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace Vemo {

namespace fs = boost::filesystem;

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
        fail(file_name + " already exists and will not be overwritten.");
}

Ac_outfile_base::Ac_outfile_base(const char* name) : Ac_outfile_base(std::string(name)) {}

Ac_outfile_base::~Ac_outfile_base()
{
    close_file();
    if (created_file >= 0)
        ::close(created_file);
}

bool Ac_outfile_base::set_wave_number(std::uint32_t n)
{
    wave_number = n;
    return true;
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

void Ac_outfile_base::remove_created_file()
{
    if (created_file < 0)
        return;
    struct stat ours;
    struct stat now;
    if (::fstat(created_file, &ours) == 0 && ::lstat(file_name.c_str(), &now) == 0 &&
        now.st_dev == ours.st_dev && now.st_ino == ours.st_ino)
        ::unlink(file_name.c_str());
    ::close(created_file);
    created_file = -1;
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
    // O_EXCL makes creation and the existence test one step, so nothing that
    // appeared since construction is overwritten, and no link is followed.
    descriptor = ::open(file_name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) {
        if (errno == EEXIST)
            return fail(file_name + " already exists and will not be overwritten.");
        return fail("Can't open file " + file_name + ": unknown error.");
    }
    created_file = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (created_file < 0) {
        // Without its identity the file could not be removed safely after a
        // failure, so it is not kept.
        ::unlink(file_name.c_str());
        close_file();
        return fail("Can't open file " + file_name + ": unknown error.");
    }
    is_open = true;
    return true;
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
    if (descriptor >= 0)
        ::close(descriptor);
    descriptor = -1;
    is_open = false;
}

int Ac_outfile_base::release_descriptor()
{
    const int released = descriptor;
    descriptor = -1;
    return released;
}

}  // namespace Vemo
