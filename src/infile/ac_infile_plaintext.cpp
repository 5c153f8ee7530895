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

}  // namespace Vemo
