#include "infile/ac_infile_mw2.hpp"

#include "formats/mw2_wave_dump.hpp"
#include "infile/missing_wave.hpp"

#include <algorithm>

namespace Vemo {

namespace {

/// The file is read in pieces of this size.
constexpr std::size_t piece_size = 1 << 16;

}  // namespace

Ac_infile_mw2::~Ac_infile_mw2() { close(); }

void Ac_infile_mw2::close()
{
    close_stream(file_stream);
    has_waves = false;
}

bool Ac_infile_mw2::open()
{
    if (is_open)
        return true;
    if (!open_stream(file_stream))
        return false;
    if (!load()) {
        close();
        return fail(file_name + " could not be read to the end.");
    }
    if (mw2_has_header(sysex_data.data(), sysex_data.size())) {
        sysex_size = sysex_data.size();
        scan();
    } else {
        sysex_data.clear();
        sysex_data.shrink_to_fit();
    }
    if (dump_count == 0) {
        close();
        return fail(file_name + " does not contain valid Microwave II/XT waveforms.");
    }
    has_waves = true;
    return true;
}

bool Ac_infile_mw2::load()
{
    sysex_data.clear();
    // Reserving the announced length keeps a large file from being copied
    // while it grows; reading in pieces copes with a file that changes size.
    file_stream.seekg(0, std::ios::end);
    const std::streamoff length = file_stream.tellg();
    // A length that cannot be told only costs the reservation.
    file_stream.clear();
    file_stream.seekg(0, std::ios::beg);
    if (length > 0)
        sysex_data.reserve(static_cast<std::size_t>(length));
    char piece[piece_size];
    while (file_stream.read(piece, sizeof piece) || file_stream.gcount() > 0) {
        const auto got = static_cast<std::size_t>(file_stream.gcount());
        sysex_data.insert(sysex_data.end(), reinterpret_cast<const std::uint8_t*>(piece),
                          reinterpret_cast<const std::uint8_t*>(piece) + got);
        if (!file_stream)
            break;
    }
    return !file_stream.bad();
}

void Ac_infile_mw2::scan()
{
    // Anything between the messages (other SysEx messages, stray bytes) is
    // passed over; a message that the file cuts off before its last sample
    // byte is not a wave.
    dump_wave_numbers.clear();
    dump_offsets.clear();
    const std::uint8_t* bytes = sysex_data.data();
    const std::uint8_t* end = bytes + sysex_size;
    for (const std::uint8_t* start = std::find(bytes, end, mw2_start_byte); start != end;
         start = std::find(start + 1, end, mw2_start_byte)) {
        const auto position = static_cast<std::uint64_t>(start - bytes);
        if (!mw2_is_wave_dump(bytes, sysex_size, position))
            continue;
        dump_wave_numbers.push_back(mw2_wave_number(bytes, position));
        dump_offsets.push_back(position);
    }
    dump_count = static_cast<std::uint32_t>(dump_offsets.size());
}

bool Ac_infile_mw2::read()
{
    if (!ready_to_read())
        return false;
    if (wave_number >= dump_count)
        return report(missing_wave_message(file_name, wave_number, dump_count));
    return store_data(mw2_decode_cycle(sysex_data.data(), dump_offsets[wave_number]));
}

std::uint32_t Ac_infile_mw2::wave_count() { return dump_count; }

std::vector<std::string> Ac_infile_mw2::list_waves()
{
    std::vector<std::string> names;
    if (!has_waves || !room_for_wave_names(dump_count))
        return names;
    for (std::uint32_t i = 0; i < dump_count; ++i)
        names.push_back(std::to_string(i) + mw2_wave_label(dump_wave_numbers[i]));
    return names;
}

bool Ac_infile_mw2::select_wave(std::uint32_t n)
{
    wave_number = n;
    return true;
}

}  // namespace Vemo
