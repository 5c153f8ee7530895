#pragma once

#include "stage/ac_outfile_base.hpp"

#include <sndfile.h>

namespace Vemo {

/// Writes a wave as a mono 16-bit PCM sound file at `sample_rate`. The
/// container follows the name's extension: "wav" gives WAV, "aiff" gives
/// AIFF, and any other name is refused before a file is created. Doubles are
/// turned into samples by libsndfile's own conversion (full scale is 1.0).
/// The file says that it holds one cycle, or a table of waves of one size: a
/// loop over the (first) cycle, the root note that it plays at the sample
/// rate, and the size of one wave.
class Ac_outfile_audio : public Ac_outfile_base {
public:
    using Ac_outfile_base::Ac_outfile_base;
    ~Ac_outfile_audio() override;

    /// Chooses the container, creates the file and has libsndfile write its header.
    bool open() override;
    /// Finishes the header and closes the file.
    void close() override;
    /// Appends all values as frames; before the first, marks them as one
    /// looped cycle.
    bool write() override;

protected:
    /// What libsndfile would say about a file that cannot be created for
    /// the system's reason `error`.
    std::string creation_failure(int error) const override;

private:
    /// Hands libsndfile the loop and root note of the first cycle and the
    /// chunks that give the wave size.
    bool mark_cycle();

    SNDFILE* sound_file = nullptr;
    /// The container combined with the 16-bit PCM encoding, once chosen.
    int sound_format = 0;
    SF_INFO file_info{};
    /// Whether the header already holds the loop and root note.
    bool cycle_marked = false;
};

}  // namespace Vemo
