#pragma once

// The chunks of a sound file that say it holds a cycle to be looped, or a
// wavetable of waves of one size: a forward loop over the cycle, the root
// note that the cycle plays at its sample rate, and the size of one wave.
// Their byte layouts live here, for the writer that sets them and the reader
// that looks for them.
//
//   WAV   libsndfile's instrument, stored as the `smpl` chunk: MIDI note and
//         upward fine tune, loop start 0 and last frame N - 1;
//         `clm `: the text "<!>N 00000000 wavetable (Tonalith)", N in decimal,
//         the frame size that wavetable synths read;
//         `srge`: version 1, then N, both 32-bit little-endian.
//   AIFF  `MARK`: markers 1 and 2 at positions 0 and N;
//         `INST`: base note, signed detune, keys 0 to 127, velocities 1 to
//         127, gain 0, sustain loop forward from marker 1 to marker 2, no
//         release loop.
// Numbers in AIFF chunks are big-endian.

#include <sndfile.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Vemo {

/// A MIDI note and a fine tune in cents: the pitch a sampler takes a sound for.
struct Root_note {
    int note = 0;
    int cents = 0;
    bool operator==(const Root_note&) const = default;
};

/// The pitch of a cycle of `frames` samples at `sample_rate`, the rate divided
/// by the frames, as the note at or below it and the rest upward in cents, 0
/// to 99 (a rest that rounds to 100 is the next note). A pitch whose note lies
/// outside MIDI notes 0 to 127 becomes the nearer of those two, with no fine
/// tune.
Root_note note_at_or_below(std::uint32_t sample_rate, std::uint64_t frames);

/// The same pitch as the nearest note and a signed fine tune, -50 to +50
/// cents, with the same limit to MIDI notes 0 to 127.
Root_note nearest_note(std::uint32_t sample_rate, std::uint64_t frames);

/// A chunk to add to a sound file's header: its four-letter id and its bytes.
struct Sound_chunk {
    std::string id;
    std::vector<unsigned char> bytes;
};

/// The instrument that has libsndfile mark a WAV file as one looped cycle.
SF_INSTRUMENT wav_cycle_instrument(std::uint32_t sample_rate, std::uint64_t frames);

/// The chunks that WAV output of `waves` waves of `frames` frames each
/// carries besides the instrument: `clm ` with the wave size, and for a
/// table of two waves or more `srge`, where one wavetable synth that reads
/// only "<!>2048" from `clm ` takes other sizes.
std::vector<Sound_chunk> wav_table_chunks(std::uint64_t frames, std::uint64_t waves);

/// The wave size that the text of a `clm ` chunk gives: "<!>" and the size
/// in decimal at its start; 0 when it gives none.
std::uint64_t clm_wave_size(std::string_view text);

/// The wave size that a `srge` chunk gives: version 1, then the size; 0 when
/// it gives none.
std::uint64_t srge_wave_size(const unsigned char* bytes, std::size_t size);

/// The chunks that mark an AIFF file as one looped cycle; libsndfile writes
/// no AIFF loop of its own.
std::vector<Sound_chunk> aiff_cycle_chunks(std::uint32_t sample_rate, std::uint64_t frames);

}  // namespace Vemo
