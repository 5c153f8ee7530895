#include "infile/missing_wave.hpp"

namespace Vemo {

std::string missing_wave_message(const std::string& file_name, std::uint64_t wave_number,
                                 std::uint64_t wave_count)
{
    return file_name + " has no wave " + std::to_string(wave_number) +
           "; its waves are numbered 0 to " + std::to_string(wave_count - 1) + ".";
}

}  // namespace Vemo
