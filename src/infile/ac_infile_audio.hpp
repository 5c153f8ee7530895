#pragma once

#include "app/stages/ac_infile_base.hpp"

#include <sndfile.h>

namespace Vemo {

/// Reads one cycle from a sound file that libsndfile understands (WAV, AIFF,
/// FLAC and the rest). Only mono files of at most `max_frames` frames are
/// accepted; integer samples arrive scaled to the range -1 to +1.
class Ac_infile_audio : public Ac_infile_base {
public:
    /// The longest cycle accepted, in frames.
    static constexpr sf_count_t max_frames = 65536;

    explicit Ac_infile_audio(const std::string& file_name);
    explicit Ac_infile_audio(const char* file_name);
    ~Ac_infile_audio() override;

    void close() override;
    /// Opens the file and refuses it unless it is mono and short enough.
    bool open() override;
    /// Reads every frame of the open file.
    bool read() override;

private:
    SNDFILE* sound_file = nullptr;
    /// Filled by libsndfile on open; it must be all zero before a file is
    /// opened for reading.
    SF_INFO file_info{};
};

}  // namespace Vemo
