#include "infile/ac_infile_mw2.hpp"

#include "system/memory_budget.hpp"

#include <algorithm>

namespace Vemo {

namespace {

/// The file is read in pieces of this size.
constexpr std::size_t piece_size = 1 << 16;

/// A message is known to be a wave dump once its bytes up to the last
/// sample byte are read: this many bytes from its F0 on.
constexpr std::size_t bytes_to_decide = mw2_last_sample_byte_offset + 1;

}  // namespace

Ac_infile_mw2::~Ac_infile_mw2() { close(); }

void Ac_infile_mw2::close() { close_stream(file_stream); }

bool Ac_infile_mw2::open()
{
    if (is_open)
        return true;
    if (!open_stream(file_stream))
        return false;
    bool accepted = find_dumps();
    waves = dumps.size();
    accepted = accepted &&
               (waves != 0 || fail(file_name + " does not contain valid Microwave II/XT waveforms.")) &&
               holds_selected_wave();
    if (!accepted)
        close();
    return accepted;
}

bool Ac_infile_mw2::find_dumps()
{
    // Bytes read but not yet decided on: a message may begin near the end of
    // one piece and end in the next. Anything between the messages (other
    // SysEx messages, stray bytes) is passed over, and so is a message that
    // the file cuts off before its last sample byte.
    dumps.clear();
    std::vector<std::uint8_t> bytes;
    bytes.reserve(piece_size + bytes_to_decide);
    bool first_piece = true;
    for (;;) {
        const std::size_t kept = bytes.size();
        bytes.resize(kept + piece_size);
        file_stream.read(reinterpret_cast<char*>(bytes.data() + kept), piece_size);
        bytes.resize(kept + static_cast<std::size_t>(file_stream.gcount()));
        if (file_stream.bad())
            return fail(file_name + " could not be read to the end.");
        const bool at_end = !file_stream;
        // A file of dumps begins with one: any other file is none, however
        // long it is, and is not read further.
        if (first_piece && !mw2_has_header(bytes.data(), bytes.size()))
            return true;
        first_piece = false;

        // Every F0 that has its bytes up to the last sample byte read is
        // decided on now; the rest waits for the next piece.
        const auto decided =
            at_end ? bytes.end()
                   : bytes.end() - static_cast<std::ptrdiff_t>(
                                       std::min(bytes.size(), bytes_to_decide - 1));
        auto start = std::find(bytes.begin(), decided, mw2_start_byte);
        for (; start != decided; start = std::find(start + 1, decided, mw2_start_byte)) {
            const auto position = static_cast<std::size_t>(start - bytes.begin());
            if (mw2_is_wave_dump(bytes.data(), bytes.size(), position) &&
                !keep_dump(bytes.data(), bytes.size(), position))
                return false;
        }
        if (at_end)
            return true;
        bytes.erase(bytes.begin(), decided);
    }
}

bool Ac_infile_mw2::keep_dump(const std::uint8_t* bytes, std::size_t size, std::size_t position)
{
    if (dumps.size() == dumps.capacity()) {
        const std::size_t grown = std::max<std::size_t>(16, 2 * dumps.capacity());
        if (!fits_in_memory(bytes_for(grown, sizeof(Mw2_message))))
            return fail(not_enough_memory);
        dumps.reserve(grown);
    }
    Mw2_message& dump = dumps.emplace_back();
    std::copy_n(bytes + position, std::min(dump.size(), size - position), dump.begin());
    return true;
}

bool Ac_infile_mw2::read()
{
    if (!ready_to_read())
        return false;
    return store_data(mw2_decode_cycle(dumps[wave_number].data(), 0));
}

std::string Ac_infile_mw2::wave_name(std::uint64_t position)
{
    return std::to_string(position) + mw2_wave_label(mw2_wave_number(dumps[position].data(), 0));
}

}  // namespace Vemo
