#pragma once

// The wavetable file of Surge XT and Bitwig Studio (extension .wt): a header
// of 12 bytes, then the waves one after another, all of one size. Everything
// the reader and the writer need to know about its layout lives here. All
// numbers are little-endian.
//
//   offset 0   "vawt"
//          4   samples of one wave, 32-bit
//          8   number of waves, 16-bit
//          10  flags, 16-bit:
//                0x0001, 0x0002  the file holds a sample rather than a table
//                0x0004          the samples are 16-bit integers, else
//                                32-bit floats
//                0x0008          with 0x0004: they use the full 16-bit range
//                0x0010          a NUL-ended text block follows the samples
//          12  the samples of every wave
//
// A 16-bit sample is level / 16384, or level / 32768 with the full range; a
// float is the value itself. The writer stores the full range, each value as
// the level lrint(x * 32767) that 16-bit audio output stores for it.

#include <array>
#include <cstddef>
#include <cstdint>

namespace Vemo {

inline constexpr std::size_t wt_header_size = 12;
inline constexpr std::array<std::uint8_t, 4> wt_magic = {'v', 'a', 'w', 't'};

inline constexpr std::size_t wt_wave_size_offset = 4;
inline constexpr std::size_t wt_wave_count_offset = 8;
inline constexpr std::size_t wt_flags_offset = 10;

inline constexpr std::uint16_t wt_flag_sample = 0x0001;
inline constexpr std::uint16_t wt_flag_looped_sample = 0x0002;
inline constexpr std::uint16_t wt_flag_int16 = 0x0004;
inline constexpr std::uint16_t wt_flag_full_range = 0x0008;
inline constexpr std::uint16_t wt_flag_text_block = 0x0010;

/// The longest wave a file may hold when read.
inline constexpr std::uint32_t wt_largest_read_wave = 65536;
/// What the readers of written files take: waves of a power of two from 2 to
/// 4096 samples, at most 512 of them.
inline constexpr std::uint64_t wt_smallest_written_wave = 2;
inline constexpr std::uint64_t wt_largest_written_wave = 4096;
inline constexpr std::uint64_t wt_most_written_waves = 512;

/// How the samples of a file are stored.
enum class Wt_coding { float32, int16, int16_full_range };

/// The fields of a header.
struct Wt_header {
    std::uint32_t wave_size = 0;
    std::uint16_t wave_count = 0;
    std::uint16_t flags = 0;
    bool operator==(const Wt_header&) const = default;
};

/// Whether the first 4 of `bytes` are "vawt".
bool wt_has_magic(const std::uint8_t* bytes);

/// The fields of the 12-byte header at `bytes` (its magic is not examined).
Wt_header wt_decode_header(const std::uint8_t* bytes);

/// The 12 bytes of a header with `fields`.
std::array<std::uint8_t, wt_header_size> wt_encode_header(const Wt_header& fields);

/// The sample coding that `flags` name; the other flags do not count.
Wt_coding wt_coding(std::uint16_t flags);

/// The bytes one sample takes in `coding`: 4 or 2.
std::size_t wt_sample_bytes(Wt_coding coding);

/// The value of the sample at `bytes` stored in `coding`. A float is taken
/// as it is, so a file may give a value that is not finite.
double wt_decode_sample(const std::uint8_t* bytes, Wt_coding coding);

/// The full-range 16-bit level of `x`: x × 32767 rounded to the nearest
/// integer, ties to even, as 16-bit audio output rounds it. Values beyond
/// −1…1 are held at −32768 and 32767 rather than wrapped; NaN gives 0.
std::int16_t wt_full_range_level(double x);

/// Stores `x` at `bytes` as a full-range 16-bit sample, two bytes.
void wt_encode_sample(std::uint8_t* bytes, double x);

/// Whether a written file may hold `waves` waves of `wave_size` samples: 1
/// to 512 waves of a power of two from 2 to 4096.
bool wt_table_writable(std::uint64_t waves, std::uint64_t wave_size);

}  // namespace Vemo
