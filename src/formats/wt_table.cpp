#include "formats/wt_table.hpp"

#include "formats/byte_order.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace Vemo {

namespace {

static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4,
              "a .wt float sample is a 32-bit IEEE 754 number");

}  // namespace

bool wt_has_magic(const std::uint8_t* bytes)
{
    return std::equal(wt_magic.begin(), wt_magic.end(), bytes);
}

Wt_header wt_decode_header(const std::uint8_t* bytes)
{
    return {little_endian_32(bytes + wt_wave_size_offset), little_endian_16(bytes + wt_wave_count_offset),
            little_endian_16(bytes + wt_flags_offset)};
}

std::array<std::uint8_t, wt_header_size> wt_encode_header(const Wt_header& fields)
{
    std::array<std::uint8_t, wt_header_size> bytes{};
    std::copy(wt_magic.begin(), wt_magic.end(), bytes.begin());
    put_little_endian(bytes.data() + wt_wave_size_offset, fields.wave_size, 4);
    put_little_endian(bytes.data() + wt_wave_count_offset, fields.wave_count, 2);
    put_little_endian(bytes.data() + wt_flags_offset, fields.flags, 2);
    return bytes;
}

Wt_coding wt_coding(std::uint16_t flags)
{
    // The full range counts only for 16-bit samples: floats have no range.
    if ((flags & wt_flag_int16) == 0)
        return Wt_coding::float32;
    return (flags & wt_flag_full_range) != 0 ? Wt_coding::int16_full_range : Wt_coding::int16;
}

std::size_t wt_sample_bytes(Wt_coding coding) { return coding == Wt_coding::float32 ? 4 : 2; }

double wt_decode_sample(const std::uint8_t* bytes, Wt_coding coding)
{
    switch (coding) {
    case Wt_coding::float32:
        return std::bit_cast<float>(little_endian_32(bytes));
    case Wt_coding::int16:
        return static_cast<std::int16_t>(little_endian_16(bytes)) / 16384.0;
    case Wt_coding::int16_full_range:
        break;
    }
    return static_cast<std::int16_t>(little_endian_16(bytes)) / 32768.0;
}

std::int16_t wt_full_range_level(double x)
{
    if (std::isnan(x))
        return 0;
    const double scaled = x * 32767.0;
    // Held at the ends before rounding, so lrint only ever sees a value
    // that a 16-bit level holds.
    if (scaled <= -32768.0)
        return -32768;
    if (scaled >= 32767.0)
        return 32767;
    return static_cast<std::int16_t>(std::lrint(scaled));
}

void wt_encode_sample(std::uint8_t* bytes, double x)
{
    put_little_endian(bytes, static_cast<std::uint16_t>(wt_full_range_level(x)), 2);
}

bool wt_table_writable(std::uint64_t waves, std::uint64_t wave_size)
{
    return waves >= 1 && waves <= wt_most_written_waves &&
           wave_size >= wt_smallest_written_wave && wave_size <= wt_largest_written_wave &&
           std::has_single_bit(wave_size);
}

}  // namespace Vemo
