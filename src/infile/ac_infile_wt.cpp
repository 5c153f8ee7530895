#include "infile/ac_infile_wt.hpp"

#include <vector>

namespace Vemo {

Ac_infile_wt::~Ac_infile_wt() { close(); }

void Ac_infile_wt::close() { close_stream(file_stream); }

bool Ac_infile_wt::open()
{
    if (is_open)
        return true;
    if (!open_stream(file_stream))
        return false;
    const bool accepted = check_header() && holds_selected_wave();
    if (!accepted) {
        close();
        // A refused file holds no waves to list or select.
        header = {};
    }
    return accepted;
}

bool Ac_infile_wt::check_header()
{
    std::array<std::uint8_t, wt_header_size> bytes{};
    file_stream.read(reinterpret_cast<char*>(bytes.data()), bytes.size());
    if (file_stream.gcount() != static_cast<std::streamsize>(bytes.size()) ||
        !wt_has_magic(bytes.data()))
        return fail(file_name + " is not a .wt wavetable.");
    header = wt_decode_header(bytes.data());
    coding = wt_coding(header.flags);
    if (header.wave_size == 0 || header.wave_size > wt_largest_read_wave)
        return fail(file_name + " holds waves of " + std::to_string(header.wave_size) +
                    " samples; a .wt wave holds 1 to " + std::to_string(wt_largest_read_wave) +
                    ".");
    if (header.wave_count == 0)
        return fail(file_name + " holds no wave.");

    // Other readers of the format pad a short file with zeros; here a file
    // that lacks samples is refused, since the waves it gives would not be
    // the ones that were saved. The product fits in 64 bits: at most 65535
    // waves of 65536 samples of 4 bytes.
    const std::uint64_t needed = wt_header_size + std::uint64_t{header.wave_count} *
                                                      header.wave_size * wt_sample_bytes(coding);
    file_stream.seekg(0, std::ios::end);
    const std::streamoff size = file_stream.tellg();
    if (!file_stream || size < 0)
        return fail(file_name + " could not be read to the end.");
    if (static_cast<std::uint64_t>(size) < needed)
        return fail(cut_short());
    return true;
}

std::string Ac_infile_wt::cut_short() const
{
    return file_name + " is cut short: its header promises " + std::to_string(header.wave_count) +
           " waves of " + std::to_string(header.wave_size) + " samples.";
}

bool Ac_infile_wt::read()
{
    if (!ready_to_read())
        return false;
    const std::size_t sample_bytes = wt_sample_bytes(coding);
    const std::uint64_t wave_bytes = std::uint64_t{header.wave_size} * sample_bytes;
    std::vector<std::uint8_t> bytes(wave_bytes);
    file_stream.clear();
    file_stream.seekg(static_cast<std::streamoff>(wt_header_size + wave_number * wave_bytes));
    file_stream.read(reinterpret_cast<char*>(bytes.data()),
                     static_cast<std::streamsize>(bytes.size()));
    // The length was checked on open; a file cut while it is read is cut
    // short all the same.
    if (file_stream.gcount() != static_cast<std::streamsize>(bytes.size()))
        return fail(cut_short());
    std::vector<double> values(header.wave_size);
    for (std::size_t k = 0; k < values.size(); ++k)
        values[k] = wt_decode_sample(bytes.data() + k * sample_bytes, coding);
    return store_data(values);
}

std::uint64_t Ac_infile_wt::wave_count() { return header.wave_count; }

std::string Ac_infile_wt::wave_name(std::uint64_t position) { return frame_name(position); }

}  // namespace Vemo
