#pragma once

// Raw Microwave II/XT SysEx bytes for tests, put together byte by byte so
// that files the program never writes itself (other device numbers, zero
// sample bytes, cut-off messages) can be built.

#include <cstdint>
#include <string>
#include <vector>

namespace Vemo::testing {

/// The 64 sample codes of the one-harmonic sine that a user wave dump holds.
inline const std::vector<int> one_harmonic_codes = {
    0x83, 0x89, 0x90, 0x96, 0x9C, 0xA2, 0xA8, 0xAE, 0xB3, 0xB9, 0xBF, 0xC4, 0xC9,
    0xCE, 0xD3, 0xD8, 0xDC, 0xE0, 0xE4, 0xE8, 0xEB, 0xEF, 0xF1, 0xF4, 0xF7, 0xF9,
    0xFA, 0xFC, 0xFD, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFE, 0xFD, 0xFC, 0xFA, 0xF9,
    0xF7, 0xF4, 0xF1, 0xEF, 0xEB, 0xE8, 0xE4, 0xE0, 0xDC, 0xD8, 0xD3, 0xCE, 0xC9,
    0xC4, 0xBF, 0xB9, 0xB3, 0xAE, 0xA8, 0xA2, 0x9C, 0x96, 0x90, 0x89, 0x83};

/// A wave dump message for `wave_number` with the 64 sample `codes` (each
/// sent as two nibble bytes), the given device number, and `check_byte`.
inline std::string wave_dump(std::uint32_t wave_number, const std::vector<int>& codes,
                             int device = 0x7F, int check_byte = 0)
{
    std::string bytes = {'\xF0', '\x3E', '\x0E', static_cast<char>(device), '\x12',
                         static_cast<char>((wave_number >> 7) & 0x7F),
                         static_cast<char>(wave_number & 0x7F)};
    for (std::size_t k = 0; k < 64; ++k) {
        const int code = k < codes.size() ? codes[k] : 0x80;
        bytes += static_cast<char>(code >> 4);
        bytes += static_cast<char>(code & 0x0F);
    }
    bytes += static_cast<char>(check_byte);
    bytes += '\xF7';
    return bytes;
}

/// A silent wave: every sample code 80, sent as 08 00.
inline std::string silent_wave_dump(std::uint32_t wave_number, int device = 0x7F)
{
    return wave_dump(wave_number, std::vector<int>(64, 0x80), device);
}

/// A SysEx message of another manufacturer.
inline const std::string other_sysex = {'\xF0', '\x43', '\x10', '\x4C', '\x00',
                                        '\x00', '\x7E', '\x00', '\xF7'};

/// A Microwave II/XT message that is not a wave dump (a different type byte).
inline const std::string other_mw2_message = {'\xF0', '\x3E', '\x0E', '\x7F', '\x10',
                                              '\x00', '\x00', '\x00', '\xF7'};

}  // namespace Vemo::testing
