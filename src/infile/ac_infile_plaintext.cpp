#include "infile/ac_infile_plaintext.hpp"

#include <cstdint>

namespace Vemo {

bool Ac_infile_plaintext::read_file_values()
{
    if (!read_values(UINT64_MAX, Blank_lines::skipped, file_name + ": "))
        return false;
    waves = 1;
    if (given_wave_size != 0 && values.size() / given_wave_size >= 2) {
        wave_length = given_wave_size;
        waves = values.size() / given_wave_size;
    }
    return true;
}

std::uint64_t Ac_infile_plaintext::wave_count() { return waves; }

std::string Ac_infile_plaintext::wave_name(std::uint64_t position)
{
    if (waves < 2)
        return Ac_infile_text::wave_name(position);
    return frame_name(position);
}

bool Ac_infile_plaintext::select_wave_size(std::uint64_t samples)
{
    given_wave_size = samples;
    return true;
}

}  // namespace Vemo
