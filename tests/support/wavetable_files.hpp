#pragma once

// Wavetables as wavetable synths and editors write them: several waves back
// to back in one sound file, with or without a tag that gives their size.

#include <sndfile.h>

#include <cstdint>
#include <string>
#include <vector>

namespace Vemo::testing {

/// What a test file carries to say how long one wave is; each is left out
/// when empty or none.
struct Wave_tags {
    /// The text of a `clm ` chunk.
    std::string clm;
    /// The bytes of a `srge` chunk.
    std::vector<unsigned char> srge;
    /// One cue point at each of these frames.
    std::vector<std::uint32_t> cue_frames;
    /// One loop of this mode over [loop_start, loop_end).
    int loop_mode = SF_LOOP_NONE;
    unsigned loop_start = 0;
    unsigned loop_end = 0;
};

/// A `srge` chunk: `version`, then `size`, both 32-bit little-endian.
std::vector<unsigned char> srge_chunk(std::uint32_t version, std::uint32_t size);

/// `count` waves of `size` samples, each of another timbre (wave k holds
/// harmonic 1 and harmonic k % 7 + 2 at half its level), then the first
/// `extra` samples of one more.
std::vector<double> wavetable_samples(std::size_t count, std::size_t size, std::size_t extra = 0);

/// Writes mono `samples` as a new sound file in `format` with `tags`,
/// handed to libsndfile before the first sample as it requires. Returns the
/// path; throws when libsndfile refuses anything.
std::string write_tagged_sound(const std::string& path, int format,
                               const std::vector<double>& samples, const Wave_tags& tags);

}  // namespace Vemo::testing
