#include "formats/audio_chunks.hpp"

#include "formats/byte_order.hpp"

#include "program_name.hpp"

#include <charconv>
#include <cmath>

namespace Vemo {

namespace {

constexpr int lowest_note = 0;
constexpr int highest_note = 127;
constexpr int cents_per_note = 100;

/// The pitch `sample_rate` / `frames` in whole cents above MIDI note 0 (note
/// 69 is 440 Hz), held a little beyond the MIDI notes so that it stays a
/// number even for no rate or no frames: fmin and fmax pass over a NaN.
long cents_above_lowest_note(std::uint32_t sample_rate, std::uint64_t frames)
{
    const double pitch = static_cast<double>(sample_rate) / static_cast<double>(frames);
    const double cents = 6900.0 + 1200.0 * std::log2(pitch / 440.0);
    return std::lround(std::fmax(-2.0 * cents_per_note,
                                 std::fmin(cents, (highest_note + 2.0) * cents_per_note)));
}

/// Splits `cents` (above MIDI note 0) into a note and a rest of `lowest_rest`
/// to `lowest_rest` + 99 cents; a note outside MIDI's becomes the nearer limit
/// with no rest.
Root_note split_into_note(long cents, long lowest_rest)
{
    // Shifted to stay positive, so that the division rounds down below note 0 too.
    const long shifted = cents - lowest_rest + 4 * cents_per_note;
    const long note = shifted / cents_per_note - 4;
    if (note < lowest_note)
        return {lowest_note, 0};
    if (note > highest_note)
        return {highest_note, 0};
    return {static_cast<int>(note), static_cast<int>(cents - note * cents_per_note)};
}

/// Appends the `size` bytes of `value` in the order `put` stores them.
template <typename Put>
void append(std::vector<unsigned char>& bytes, std::uint32_t value, int size, Put put)
{
    bytes.resize(bytes.size() + static_cast<std::size_t>(size));
    put(bytes.data() + bytes.size() - static_cast<std::size_t>(size), value, size);
}

void append_big_endian_16(std::vector<unsigned char>& bytes, std::uint16_t value)
{
    append(bytes, value, 2, put_big_endian);
}

void append_big_endian_32(std::vector<unsigned char>& bytes, std::uint32_t value)
{
    append(bytes, value, 4, put_big_endian);
}

void append_little_endian_32(std::vector<unsigned char>& bytes, std::uint32_t value)
{
    append(bytes, value, 4, put_little_endian);
}

constexpr std::uint16_t loop_start_marker = 1;
constexpr std::uint16_t loop_end_marker = 2;
constexpr std::uint16_t aiff_no_looping = 0;
constexpr std::uint16_t aiff_forward_looping = 1;

/// One marker with an empty name: a zero count byte and the pad byte that
/// brings the name to an even length.
void append_marker(std::vector<unsigned char>& bytes, std::uint16_t id, std::uint32_t position)
{
    append_big_endian_16(bytes, id);
    append_big_endian_32(bytes, position);
    bytes.push_back(0);
    bytes.push_back(0);
}

void append_loop(std::vector<unsigned char>& bytes, std::uint16_t play_mode,
                 std::uint16_t begin_marker, std::uint16_t end_marker)
{
    append_big_endian_16(bytes, play_mode);
    append_big_endian_16(bytes, begin_marker);
    append_big_endian_16(bytes, end_marker);
}

}  // namespace

Root_note note_at_or_below(std::uint32_t sample_rate, std::uint64_t frames)
{
    return split_into_note(cents_above_lowest_note(sample_rate, frames), 0);
}

Root_note nearest_note(std::uint32_t sample_rate, std::uint64_t frames)
{
    return split_into_note(cents_above_lowest_note(sample_rate, frames), -cents_per_note / 2);
}

// The containers count bytes in 32 bits, so a cycle they can hold has fewer
// than 2^32 frames: the loop's positions fit their 32-bit fields.

SF_INSTRUMENT wav_cycle_instrument(std::uint32_t sample_rate, std::uint64_t frames)
{
    const Root_note root = note_at_or_below(sample_rate, frames);
    SF_INSTRUMENT instrument{};
    instrument.basenote = static_cast<char>(root.note);
    instrument.detune = static_cast<char>(root.cents);
    instrument.key_lo = lowest_note;
    instrument.key_hi = highest_note;
    instrument.velocity_lo = 1;
    instrument.velocity_hi = 127;
    instrument.loop_count = 1;
    instrument.loops[0].mode = SF_LOOP_FORWARD;
    instrument.loops[0].start = 0;
    // libsndfile's end is one past the loop; it stores the last frame, N - 1.
    instrument.loops[0].end = static_cast<unsigned>(frames);
    instrument.loops[0].count = 0;
    return instrument;
}

constexpr std::string_view clm_mark = "<!>";

constexpr std::uint32_t srge_version = 1;

std::vector<Sound_chunk> wav_table_chunks(std::uint64_t frames, std::uint64_t waves)
{
    const std::string frame_size = std::string(clm_mark) + std::to_string(frames) +
                                   " 00000000 wavetable (" + program_name + ")";
    std::vector<Sound_chunk> chunks = {{"clm ", {frame_size.begin(), frame_size.end()}}};
    if (waves >= 2) {
        std::vector<unsigned char> srge;
        append_little_endian_32(srge, srge_version);
        append_little_endian_32(srge, static_cast<std::uint32_t>(frames));
        chunks.push_back({"srge", srge});
    }
    return chunks;
}

std::uint64_t clm_wave_size(std::string_view text)
{
    if (!text.starts_with(clm_mark))
        return 0;
    std::uint64_t size = 0;
    const auto [end, error] =
        std::from_chars(text.data() + clm_mark.size(), text.data() + text.size(), size);
    return error == std::errc() ? size : 0;
}

std::uint64_t srge_wave_size(const unsigned char* bytes, std::size_t size)
{
    if (size < 8 || little_endian_32(bytes) != srge_version)
        return 0;
    return little_endian_32(bytes + 4);
}

std::vector<Sound_chunk> aiff_cycle_chunks(std::uint32_t sample_rate, std::uint64_t frames)
{
    std::vector<unsigned char> markers;
    append_big_endian_16(markers, 2);
    append_marker(markers, loop_start_marker, 0);
    append_marker(markers, loop_end_marker, static_cast<std::uint32_t>(frames));

    const Root_note root = nearest_note(sample_rate, frames);
    std::vector<unsigned char> instrument = {
        static_cast<unsigned char>(root.note),
        static_cast<unsigned char>(static_cast<signed char>(root.cents)),
        lowest_note,
        highest_note,
        1,
        127,
    };
    append_big_endian_16(instrument, 0);
    append_loop(instrument, aiff_forward_looping, loop_start_marker, loop_end_marker);
    append_loop(instrument, aiff_no_looping, 0, 0);
    return {{"MARK", markers}, {"INST", instrument}};
}

}  // namespace Vemo
