#pragma once

#include <sndfile.h>

#include <cstddef>
#include <string>
#include <vector>

namespace Vemo::testing {

/// A whole sound file as libsndfile reports it.
struct Sound {
    SF_INFO info{};
    /// Frames one after another, channels interleaved, full scale 1.0.
    std::vector<double> samples;
};

/// Writes `samples` (channels interleaved) as a new sound file in `format`;
/// throws when libsndfile refuses.
void write_sound(const std::string& path, int format, int channels, int sample_rate,
                 const std::vector<double>& samples);

/// Reads a whole sound file; throws when libsndfile cannot open it.
Sound read_sound(const std::string& path);

/// `frames` samples of one cycle that sums sines of the harmonics 1, 2, ...
/// with `amplitudes`, each in phase zero.
std::vector<double> harmonic_cycle(std::size_t frames, const std::vector<double>& amplitudes);

/// The 16-bit level a sample read back as a double was stored with: libsndfile
/// reads 16-bit samples as level / 32768, and writes doubles as level 32767 x.
double written_value(double read_back);

}  // namespace Vemo::testing
