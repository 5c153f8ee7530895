#pragma once

// Raw .wt wavetable bytes for tests, put together byte by byte as Surge XT
// and Bitwig Studio save them, without the program's own layout code, so
// that a fault there cannot hide in the files the tests read.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace Vemo::testing {

/// `value` as `bytes` bytes, the lowest first.
inline std::string little_endian(std::uint64_t value, int bytes)
{
    std::string text;
    for (int k = 0; k < bytes; ++k)
        text += static_cast<char>((value >> (8 * k)) & 0xFF);
    return text;
}

/// A .wt file: "vawt", the wave size, the wave count and the flags, then one
/// sample for each of `levels` (16-bit levels): the level itself when the
/// flags hold 0x0004, else the float level / 32768. A non-empty `text` is
/// appended with its NUL (the caller sets flag 0x0010 or not).
inline std::string wt_bytes(std::uint32_t wave_size, std::uint16_t waves, std::uint16_t flags,
                            const std::vector<int>& levels, const std::string& text = "")
{
    std::string bytes = "vawt" + little_endian(wave_size, 4) + little_endian(waves, 2) +
                        little_endian(flags, 2);
    for (const int level : levels) {
        if (flags & 0x0004) {
            bytes += little_endian(static_cast<std::uint16_t>(level), 2);
        } else {
            const float value = static_cast<float>(level / 32768.0);
            std::uint32_t pattern;
            std::memcpy(&pattern, &value, sizeof pattern);
            bytes += little_endian(pattern, 4);
        }
    }
    if (!text.empty())
        bytes += text + '\0';
    return bytes;
}

/// The 16-bit levels of `waves` waves of `size` samples, each wave another
/// spread over the whole range, from −32768 to 32767.
inline std::vector<int> wt_levels(std::size_t waves, std::size_t size)
{
    std::vector<int> levels;
    for (std::size_t k = 0; k < waves; ++k)
        for (std::size_t j = 0; j < size; ++j)
            levels.push_back(static_cast<int>((j * 40503 + k * 9973) % 65536) - 32768);
    return levels;
}

}  // namespace Vemo::testing
