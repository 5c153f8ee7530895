#pragma once

// Wavetables as wavetable synths and editors write them: several waves back
// to back in one sound file, with or without tags that give their size.

#include <cstdint>
#include <string>
#include <vector>

namespace Vemo::testing {

/// What a test file carries to say how long one wave is; each tag is left
/// out when empty or 0.
struct Wave_tags {
    /// The text of a `clm ` chunk.
    std::string clm;
    /// The size in a `srge` chunk of version 1.
    std::uint32_t srge = 0;
    std::vector<std::uint32_t> cue_frames;
    /// A forward loop over [loop_start, loop_end).
    unsigned loop_start = 0;
    unsigned loop_end = 0;
};

/// `count` waves of `size` samples, each of another timbre (wave k holds
/// harmonic 1 and harmonic k % 7 + 2 at half its level), then the first
/// `extra` samples of one more.
std::vector<double> wavetable_samples(std::size_t count, std::size_t size, std::size_t extra = 0);

/// Writes mono `samples` as a new 44100 Hz sound file in `format` with
/// `tags`, handed to libsndfile before the first sample as it requires.
/// Returns the path; throws when libsndfile refuses anything.
std::string write_tagged_sound(const std::string& path, int format,
                               const std::vector<double>& samples, const Wave_tags& tags);

}  // namespace Vemo::testing
