#include "stage/ac_infile_base.hpp"
#include "stage/value_array.hpp"

#include <boost/filesystem.hpp>

#include <algorithm>

namespace Vemo {

namespace fs = boost::filesystem;

Ac_infile_base::Ac_infile_base(const std::string& name) : file_name(name)
{
    boost::system::error_code error;
    const fs::file_status status = fs::status(file_name, error);
    if (status.type() == fs::file_not_found)
        fail(file_name + " does not exist.");
    else if (error)
        fail(file_name + " can't be examined: " + error.message() + ".");
    else if (status.type() != fs::regular_file)
        fail(file_name + " is not a file.");
}

Ac_infile_base::Ac_infile_base(const char* name) : Ac_infile_base(std::string(name)) {}

std::uint64_t Ac_infile_base::wave_count() { return waves; }

std::string Ac_infile_base::wave_name(std::uint64_t position)
{
    return waves < 2 ? "Default" : frame_name(position);
}

std::string Ac_infile_base::frame_name(std::uint64_t position)
{
    return std::to_string(position) + " frame#" + std::to_string(position + 1);
}

std::vector<std::string> Ac_infile_base::list_waves()
{
    std::vector<std::string> names;
    for (std::uint64_t position = 0; position < wave_count(); ++position)
        names.push_back(wave_name(position));
    return names;
}

bool Ac_infile_base::select_wave(std::uint32_t n)
{
    wave_number = n;
    return !is_open || holds_selected_wave();
}

bool Ac_infile_base::select_wave_size(std::uint64_t samples)
{
    given_wave_size = samples;
    return true;
}

bool Ac_infile_base::ready_to_read()
{
    if (!ok)
        return false;
    return is_open || report("Can't read data, file " + file_name + " is not open.");
}

bool Ac_infile_base::holds_selected_wave()
{
    // A wave number is never silently ignored: a file of one wave holds no
    // wave 1, and converting it whole instead would be a wrong result.
    const std::uint64_t count = wave_count();
    if (wave_number < count)
        return true;
    return fail(file_name + " has no wave " + std::to_string(wave_number) +
                "; its waves are numbered 0 to " + std::to_string(count - 1) + ".");
}

bool Ac_infile_base::store_data(std::span<const double> values)
{
    data = copy_value_array(values.data(), values.size());
    if (!data)
        return fail(not_enough_memory);
    data_size = values.size();
    return true;
}

bool Ac_infile_base::open_stream(std::ifstream& stream)
{
    if (is_open)
        return true;
    if (!ok)
        return false;
    stream.open(file_name, std::ios::in | std::ios::binary);
    if (!stream) {
        stream.close();
        return fail("Can't open file " + file_name + ": unknown error.");
    }
    is_open = true;
    return true;
}

void Ac_infile_base::close_stream(std::ifstream& stream)
{
    if (stream.is_open())
        stream.close();
    is_open = false;
}

}  // namespace Vemo
