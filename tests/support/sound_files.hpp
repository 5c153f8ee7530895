#pragma once

#include <sndfile.h>

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
/// libsndfile stores a 16-bit sample as level 32767 x. Returns the path;
/// throws when libsndfile refuses.
std::string write_sound(const std::string& path, int format, int channels, int sample_rate,
                        const std::vector<double>& samples);

/// Reads a whole sound file; throws when libsndfile cannot open it.
Sound read_sound(const std::string& path);

/// The 16-bit level a sample read back as a double was stored with: libsndfile
/// reads 16-bit samples as level / 32768, and writes doubles as level 32767 x.
double written_value(double read_back);

}  // namespace Vemo::testing
