#pragma once

#include <cstdint>
#include <string>

namespace Vemo {

/// The refusal of a wave number that a file of several waves does not hold:
/// "<file> has no wave <n>; its waves are numbered 0 to <count - 1>.".
std::string missing_wave_message(const std::string& file_name, std::uint64_t wave_number,
                                 std::uint64_t wave_count);

}  // namespace Vemo
