#pragma once

#include "stage/ac_infile_base.hpp"

#include <sndfile.h>

namespace Vemo {

/// Reads one cycle from a sound file that libsndfile understands (WAV, AIFF,
/// FLAC and the rest). A file may be a wavetable: several waves of L samples
/// back to back, L from `select_wave_size` or else from the file's tags
/// (see wavetable_tags.hpp); a partial wave at the end is ignored. Any other
/// file is one wave, the whole file. Only mono files whose wave has at most
/// `max_frames` frames are accepted; integer samples arrive scaled to the
/// range -1 to +1.
class Ac_infile_audio : public Ac_infile_base {
public:
    /// The longest cycle accepted, in frames.
    static constexpr sf_count_t max_frames = 65536;

    using Ac_infile_base::Ac_infile_base;
    ~Ac_infile_audio() override;

    void close() override;
    /// Opens the file, finds its waves, and refuses it unless it is mono, its
    /// wave short enough and the selected wave among them.
    bool open() override;
    /// Reads the frames of the selected wave, and only those.
    bool read() override;

private:
    /// Divides the open file into waves and checks that one can be read.
    bool find_waves();
    /// Moves to `frame` of the open file, the first of the selected wave:
    /// by seeking where that lands on the frame, else by reading up to it.
    bool reach(sf_count_t frame);
    /// Reads up to `count` frames from `position` on, into `kept` unless it
    /// is null; returns how many there were.
    sf_count_t read_frames(sf_count_t count, double* kept);

    SNDFILE* sound_file = nullptr;
    /// Filled by libsndfile on open; it must be all zero before a file is
    /// opened for reading.
    SF_INFO file_info{};
    /// The frames of one wave, as `open` found them.
    std::uint64_t wave_frames = 0;
    /// The frame the next read starts at.
    sf_count_t position = 0;
};

}  // namespace Vemo
