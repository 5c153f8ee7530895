#pragma once

// Numbers as the file formats store them, byte by byte, whatever the byte
// order of the machine: RIFF, .wt and srge little-endian, AIFF big-endian.

#include <cstdint>

namespace Vemo {

inline std::uint16_t little_endian_16(const std::uint8_t* bytes)
{
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

inline std::uint32_t little_endian_32(const std::uint8_t* bytes)
{
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

/// Stores the `size` bytes of `value`, the least significant first.
inline void put_little_endian(std::uint8_t* bytes, std::uint32_t value, int size)
{
    for (int k = 0; k < size; ++k)
        bytes[k] = static_cast<std::uint8_t>(value >> (8 * k));
}

/// Stores the `size` bytes of `value`, the most significant first.
inline void put_big_endian(std::uint8_t* bytes, std::uint32_t value, int size)
{
    for (int k = 0; k < size; ++k)
        bytes[k] = static_cast<std::uint8_t>(value >> (8 * (size - 1 - k)));
}

}  // namespace Vemo
