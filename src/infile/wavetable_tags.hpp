#pragma once

#include <sndfile.h>

#include <cstdint>

namespace Vemo {

/// The number of samples of one wave that the tags of an open sound file of
/// `frames` frames give, or 0 when none does. The tags are tried in the order
/// in which wavetable synths resolve them: a `clm ` chunk ("<!>2048 ..."), a
/// `srge` chunk, cue points at 0, L, 2L, ..., and a forward loop from frame 0
/// whose length divides the file. A tag whose size is below 16 samples or
/// larger than the file is passed over for the next one.
std::uint64_t tagged_wave_size(SNDFILE* sound_file, std::uint64_t frames);

}  // namespace Vemo
