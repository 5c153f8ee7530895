#include "outfile/ac_outfile_wt.hpp"

#include "stage/value_array.hpp"

#include "formats/wt_table.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Vemo {

namespace {

/// Samples are handed to the file in pieces of this many.
constexpr std::uint64_t piece_samples = 1 << 15;

}  // namespace

bool Ac_outfile_wt::set_table(std::uint64_t waves, std::uint64_t wave_size)
{
    Ac_outfile_base::set_table(waves, wave_size);
    return wt_table_writable(waves, wave_size) || refuse_shape();
}

bool Ac_outfile_wt::refuse_shape()
{
    return fail(file_name + ": a .wt file holds waves of " +
                std::to_string(wt_smallest_written_wave) + " to " +
                std::to_string(wt_largest_written_wave) + " samples, a power of two, and at most " +
                std::to_string(wt_most_written_waves) + " of them.");
}

bool Ac_outfile_wt::write()
{
    if (!ready_to_write())
        return false;
    // The shape is checked again on the values themselves, for a writer
    // that was never given the table.
    if (data_size != wave_count * wave_size() || !wt_table_writable(wave_count, wave_size()))
        return refuse_shape();
    if (!all_finite(data.get(), data_size))
        return fail("Can't write a value that is not a finite number to " + file_name + ".");

    const auto header = wt_encode_header({static_cast<std::uint32_t>(wave_size()),
                                          static_cast<std::uint16_t>(wave_count),
                                          wt_flag_int16 | wt_flag_full_range});
    if (!write_bytes(header.data(), header.size()))
        return false;
    std::vector<std::uint8_t> bytes;
    for (std::uint64_t first = 0; first < data_size; first += piece_samples) {
        const std::uint64_t count = std::min(piece_samples, data_size - first);
        bytes.resize(2 * count);
        for (std::uint64_t k = 0; k < count; ++k)
            wt_encode_sample(bytes.data() + 2 * k, data[first + k]);
        if (!write_bytes(bytes.data(), bytes.size()))
            return false;
    }
    return true;
}

}  // namespace Vemo
