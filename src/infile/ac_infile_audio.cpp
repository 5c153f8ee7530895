#include "infile/ac_infile_audio.hpp"

#include <algorithm>
#include <vector>

namespace Vemo {

namespace {

/// Frames are read in pieces of this many.
constexpr sf_count_t piece_frames = 4096;

}  // namespace

Ac_infile_audio::Ac_infile_audio(const std::string& name) : Ac_infile_base(name) {}

Ac_infile_audio::Ac_infile_audio(const char* name) : Ac_infile_base(name) {}

Ac_infile_audio::~Ac_infile_audio() { close(); }

void Ac_infile_audio::close()
{
    if (is_open)
        sf_close(sound_file);
    sound_file = nullptr;
    is_open = false;
}

bool Ac_infile_audio::open()
{
    if (is_open)
        return true;
    if (!ok)
        return false;
    sound_file = sf_open(file_name.c_str(), SFM_READ, &file_info);
    if (!sound_file)
        return fail(sf_strerror(nullptr));
    is_open = true;

    // A long file is named as too long even when it has several channels too.
    if (file_info.frames > max_frames)
        fail(file_name + " has too many samples.");
    else if (file_info.channels != 1)
        fail(file_name + " has more than one audio channel.");
    if (!ok)
        close();
    return ok;
}

bool Ac_infile_audio::read()
{
    if (!ready_to_read())
        return false;
    // The frame count comes from the file's header. The frames are read in
    // pieces into a growing buffer, so a header that claims more than the
    // file holds costs no memory beyond what is really there.
    const sf_count_t frames = file_info.frames;
    std::vector<double> samples;
    double piece[piece_frames];
    while (static_cast<sf_count_t>(samples.size()) < frames) {
        const sf_count_t wanted =
            std::min<sf_count_t>(piece_frames, frames - static_cast<sf_count_t>(samples.size()));
        const sf_count_t got = sf_readf_double(sound_file, piece, wanted);
        samples.insert(samples.end(), piece, piece + std::max<sf_count_t>(got, 0));
        if (got != wanted)
            break;
    }
    const auto got = static_cast<sf_count_t>(samples.size());
    if (got != frames)
        return report("Only read " + std::to_string(got) + " of " + std::to_string(frames) +
                      " samples.");
    return store_data(samples);
}

}  // namespace Vemo
