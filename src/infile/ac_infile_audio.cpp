#include "infile/ac_infile_audio.hpp"

#include "infile/wavetable_tags.hpp"
#include "stage/value_array.hpp"
#include "system/memory_budget.hpp"

#include <algorithm>
#include <iterator>
#include <vector>

namespace Vemo {

namespace {

/// Frames are read in pieces of this many.
constexpr sf_count_t piece_frames = 4096;

/// The most that libsndfile's decoders take to open a file, seek in it and
/// read one wave, as measured by the heap's peak growth: WAV 0.10 MB, MP3
/// 0.16, Opus 0.18, Ogg Vorbis 0.28, FLAC 0.41 to 0.90 and ALAC 1.29.
constexpr std::uint64_t decoder_memory = 2u << 20;

/// Lossy encodings, whose decoders land only near the frame a seek asks for
/// (Ogg Vorbis by hundreds of frames): a wave in them is reached by reading
/// up to it. Seeking in PCM, float and FLAC is exact.
const int inexact_seek_encodings[] = {SF_FORMAT_VORBIS, SF_FORMAT_OPUS, SF_FORMAT_MPEG_LAYER_I,
                                      SF_FORMAT_MPEG_LAYER_II, SF_FORMAT_MPEG_LAYER_III};

bool seeks_exactly(const SF_INFO& info)
{
    const int encoding = info.format & SF_FORMAT_SUBMASK;
    return info.seekable &&
           std::find(std::begin(inexact_seek_encodings), std::end(inexact_seek_encodings),
                     encoding) == std::end(inexact_seek_encodings);
}

}  // namespace

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
    // A decoder whose allocation fails crashes (FLAC, in a seek) or says
    // the file is missing or malformed, so its memory must be there first.
    if (!fits_in_memory(decoder_memory))
        return fail(not_enough_memory);
    sound_file = sf_open(file_name.c_str(), SFM_READ, &file_info);
    if (!sound_file)
        return fail(sf_strerror(nullptr));
    is_open = true;
    position = 0;
    const bool accepted = find_waves();
    if (!accepted)
        close();
    return accepted;
}

bool Ac_infile_audio::find_waves()
{
    const auto frames = static_cast<std::uint64_t>(std::max<sf_count_t>(file_info.frames, 0));
    const std::uint64_t size =
        given_wave_size != 0 ? given_wave_size : tagged_wave_size(sound_file, frames);
    // Only two whole waves or more make a wavetable; anything else is read
    // whole, as one wave.
    wave_frames = frames;
    waves = 1;
    if (size != 0 && frames / size >= 2) {
        wave_frames = size;
        waves = frames / size;
    }

    // A file too short for the wave asked for, or a wave too long, is named
    // as such even when the file has several channels too.
    if (given_wave_size > frames)
        return fail(file_name + " holds " + std::to_string(frames) +
                    " samples, fewer than one wave of " + std::to_string(given_wave_size) + ".");
    if (wave_frames > static_cast<std::uint64_t>(max_frames))
        return fail(file_name + " has too many samples.");
    if (file_info.channels != 1)
        return fail(file_name + " has more than one audio channel.");
    return holds_selected_wave();
}

bool Ac_infile_audio::read()
{
    if (!ready_to_read())
        return false;
    // The frame count comes from the file's header; a wave has at most
    // `max_frames` of them, so even a header that claims more than the file
    // holds costs little.
    const auto frames = static_cast<sf_count_t>(wave_frames);
    const sf_count_t first_frame = waves > 1 ? static_cast<sf_count_t>(wave_number) * frames : 0;
    data = make_value_array(wave_frames);
    if (!data)
        return fail(not_enough_memory);
    data_size = 0;
    const sf_count_t got = reach(first_frame) ? read_frames(frames, data.get()) : 0;
    if (got != frames)
        return report("Only read " + std::to_string(got) + " of " + std::to_string(frames) +
                      " samples.");
    data_size = wave_frames;
    return true;
}

bool Ac_infile_audio::reach(sf_count_t frame)
{
    if (frame == position)
        return true;
    if (seeks_exactly(file_info)) {
        if (sf_seek(sound_file, frame, SEEK_SET) == frame) {
            position = frame;
            return true;
        }
        // Some encodings (DWVW) are called seekable but are not: the seek
        // fails and leaves the decoder at the start. Reading up to the frame
        // from the start still reaches it.
        position = -1;
    }
    if (frame < position || position < 0) {
        if (sf_seek(sound_file, 0, SEEK_SET) != 0)
            return false;
        position = 0;
    }
    const sf_count_t gap = frame - position;
    return read_frames(gap, nullptr) == gap;
}

sf_count_t Ac_infile_audio::read_frames(sf_count_t count, double* kept)
{
    // Frames passed over go through a piece of this size.
    double piece[piece_frames];
    sf_count_t done = 0;
    while (done < count) {
        const sf_count_t wanted = std::min(piece_frames, count - done);
        double* const into = kept ? kept + done : piece;
        const sf_count_t got = std::max<sf_count_t>(sf_readf_double(sound_file, into, wanted), 0);
        done += got;
        if (got != wanted)
            break;
    }
    position += done;
    return done;
}

}  // namespace Vemo
