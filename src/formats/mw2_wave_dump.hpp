#pragma once

// The Waldorf Microwave II/XT wave dump message: one SysEx message of 137
// bytes that carries one user or ROM wave. Everything the reader and the
// writer need to know about its layout lives here.
//
//   offset 0      F0 (start of SysEx)
//          1, 2   3E 0E (Waldorf, Microwave II/XT)
//          3      device number (7F when written, ignored when read)
//          4      12 (wave dump)
//          5, 6   wave number, high and low 7 bits
//          7      64 samples, two nibble bytes each, high nibble first
//          135    check byte: low 7 bits of the sum of bytes 7 to 134
//          136    F7 (end of SysEx)
//
// The 64 stored samples are the first half of a 128-sample cycle; the second
// half is the first half reversed and negated.
//
// The synth plays user waves only through a wavetable: 64 entries that name
// waves, between which it interpolates. A wavetable dump is 265 bytes:
//
//   offset 0      F0 3E 0E, device number (7F when written)
//          4      13 (wavetable dump)
//          5, 6   wavetable number, high and low 7 bits
//          7      64 entries of 4 bytes: a 16-bit wave number as four nibbles,
//                 the most significant first; FFFF marks an empty entry
//          263    check byte: low 7 bits of the sum of the 256 entry bytes
//          264    F7

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Vemo {

inline constexpr std::size_t mw2_message_size = 137;

inline constexpr std::uint8_t mw2_start_byte = 0xF0;
inline constexpr std::uint8_t mw2_manufacturer = 0x3E;
inline constexpr std::uint8_t mw2_model = 0x0E;
inline constexpr std::uint8_t mw2_written_device = 0x7F;
inline constexpr std::uint8_t mw2_wave_dump_type = 0x12;
inline constexpr std::uint8_t mw2_end_byte = 0xF7;

inline constexpr std::size_t mw2_device_offset = 3;
inline constexpr std::size_t mw2_type_offset = 4;
inline constexpr std::size_t mw2_wave_number_high_offset = 5;
inline constexpr std::size_t mw2_wave_number_low_offset = 6;
inline constexpr std::size_t mw2_first_sample_offset = 7;
inline constexpr std::size_t mw2_check_byte_offset = 135;
inline constexpr std::size_t mw2_end_offset = 136;

inline constexpr std::size_t mw2_stored_samples = 64;
inline constexpr std::size_t mw2_cycle_samples = 2 * mw2_stored_samples;
/// The last sample byte: the low nibble of the last stored sample.
inline constexpr std::size_t mw2_last_sample_byte_offset =
    mw2_first_sample_offset + 2 * mw2_stored_samples - 1;
/// The check byte sums all 128 sample bytes, the last one included: that is
/// what a real Microwave XT writes into every wave dump it sends.
inline constexpr std::size_t mw2_checked_end_offset = mw2_last_sample_byte_offset + 1;

/// Wave numbers below this are ROM waves.
inline constexpr std::uint32_t mw2_first_illegal_wave = 300;
/// Wave numbers from this on are user waves, the only ones a dump may store.
inline constexpr std::uint32_t mw2_first_user_wave = 1000;
/// The largest number that the two 7-bit wave number bytes can hold.
inline constexpr std::uint32_t mw2_last_wave_number = 16383;

using Mw2_message = std::array<std::uint8_t, mw2_message_size>;

inline constexpr std::uint8_t mw2_wavetable_dump_type = 0x13;
inline constexpr std::size_t mw2_wavetable_entries = 64;
inline constexpr std::size_t mw2_wavetable_dump_size = 7 + 4 * mw2_wavetable_entries + 2;
/// The user wavetables, the only ones a dump may store.
inline constexpr std::uint32_t mw2_first_user_table = 96;
inline constexpr std::uint32_t mw2_last_user_table = 127;
/// The waves a wavetable can spread over entries 0 to 60 (the synth's own
/// tables leave the last entries to its algorithmic waves).
inline constexpr std::uint64_t mw2_wavetable_most_waves = 61;

using Mw2_wavetable_dump = std::array<std::uint8_t, mw2_wavetable_dump_size>;

/// The sample whose two nibble bytes start at `position`, unscaled:
/// 16 × high + low − 128, so −128 to 127 for valid nibbles.
double mw2_decode_sample(const std::uint8_t* bytes, std::uint64_t position);

/// Stores `x` (within −1…1) at `position` as two nibble bytes: x × 127
/// rounded to the nearest integer, halves away from zero, in offset binary.
void mw2_encode_sample(std::uint8_t* bytes, std::uint64_t position, double x);

/// The low 7 bits of the sum of bytes[first] … bytes[end − 1]; 0 when the
/// range is empty.
std::uint8_t mw2_checksum(const std::uint8_t* bytes, std::uint64_t first, std::uint64_t end);

/// True when the `length` bytes are more than three and begin with F0 3E 0E.
bool mw2_has_header(const std::uint8_t* bytes, std::uint64_t length);

/// True when a wave dump message starts at `position` of the `size` bytes:
/// F0 3E 0E there, the wave dump type four bytes on, and all its sample bytes
/// inside the bytes. The device number, check byte and F7 are not examined.
bool mw2_is_wave_dump(const std::uint8_t* bytes, std::uint64_t size, std::uint64_t position);

/// The wave number of the message that starts at `position`.
std::uint32_t mw2_wave_number(const std::uint8_t* bytes, std::uint64_t position);

/// The full 128-sample cycle of the message that starts at `position`: the
/// 64 stored samples, then the same reversed and negated.
std::vector<double> mw2_decode_cycle(const std::uint8_t* bytes, std::uint64_t position);

/// The whole message for `wave_number` (only its low 14 bits fit) and the 64
/// stored samples, each within −1…1.
Mw2_message mw2_build_message(std::uint32_t wave_number,
                              const std::array<double, mw2_stored_samples>& samples);

/// The wavetable dump of table `table_number` that plays the `waves` waves
/// numbered from `first_wave` on (at most 61 of them): spread evenly over
/// the entries, the first at entry 0 and the last at entry 60, wave k at
/// entry floor((120 k + W - 1) / (2 (W - 1))); every other entry is empty.
Mw2_wavetable_dump mw2_build_wavetable_dump(std::uint32_t table_number, std::uint32_t first_wave,
                                            std::uint64_t waves);

/// How a wave list shows a wave number: " ROM#" and 1 to 300 for ROM waves,
/// " USER#" and the number − 999 for user waves, " illegal#" and the number
/// itself for the numbers between.
std::string mw2_wave_label(std::uint32_t wave_number);

}  // namespace Vemo
