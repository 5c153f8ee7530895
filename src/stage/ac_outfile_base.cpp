#include "stage/ac_outfile_base.hpp"
#include "stage/value_array.hpp"

#include <boost/filesystem.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace Vemo {

namespace fs = boost::filesystem;

Ac_outfile_base::Ac_outfile_base(const std::string& name) : file_name(name), new_file(name)
{
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

bool Ac_outfile_base::set_wave_number(std::uint32_t n)
{
    wave_number = n;
    return true;
}

bool Ac_outfile_base::set_table_number(std::uint32_t n)
{
    return n == 0 || fail("--output_table needs a mw2 output.");
}

bool Ac_outfile_base::set_table(std::uint64_t waves, std::uint64_t)
{
    wave_count = waves;
    return true;
}

std::uint64_t Ac_outfile_base::memory_needed(std::uint64_t count) const
{
    return bytes_for(count, sizeof(double));
}

bool Ac_outfile_base::set_data(const double* values, std::uint64_t count)
{
    if (data)
        return report("The values to write to file " + file_name + " were already given.");
    data = copy_value_array(values, count);
    if (!data)
        return fail(not_enough_memory);
    data_size = count;
    return true;
}

bool Ac_outfile_base::publish()
{
    if (!new_file.created())
        return report("Can't write data, file " + file_name + " is not open.");
    close();
    return ok && take_result(new_file.publish(), File_step::publication);
}

void Ac_outfile_base::remove_created_file() { new_file.discard(); }

bool Ac_outfile_base::open()
{
    if (is_open)
        return true;
    if (!create_file())
        return false;
    is_open = true;
    return true;
}

bool Ac_outfile_base::create_file()
{
    return ok && take_result(new_file.create(), File_step::creation);
}

bool Ac_outfile_base::take_result(int error, File_step step)
{
    if (error == 0)
        return true;
    if (error == EEXIST)
        return fail(already_exists());
    if (step == File_step::creation)
        return fail(creation_failure(error));
    return fail(file_name + " could not be created: " + std::strerror(error) + ".");
}

std::string Ac_outfile_base::creation_failure(int) const
{
    return "Can't open file " + file_name + ": unknown error.";
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
    return new_file.write(bytes, count) || fail(not_all_written());
}

void Ac_outfile_base::close()
{
    if (!new_file.close())
        fail(not_all_written());
    is_open = false;
}

int Ac_outfile_base::hand_over_descriptor() { return new_file.hand_over(); }

std::string Ac_outfile_base::not_all_written() const
{
    return "Not all data was written to " + file_name;
}

}  // namespace Vemo
