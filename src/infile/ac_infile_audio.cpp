#include "infile/ac_infile_audio.hpp"

#include "infile/missing_wave.hpp"
#include "infile/wavetable_tags.hpp"
#include "system/memory_budget.hpp"

#include <algorithm>
#include <iterator>
#include <limits>
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
    // A decoder whose allocation fails crashes (FLAC, in a seek) or says
    // the file is missing or malformed, so its memory must be there first.
    if (!fits_in_memory(decoder_memory))
        return fail(not_enough_memory);
    sound_file = sf_open(file_name.c_str(), SFM_READ, &file_info);
    if (!sound_file)
        return fail(sf_strerror(nullptr));
    is_open = true;
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
    if (waves > 1 && wave_number >= waves)
        return fail(missing_wave_message(file_name, wave_number, waves));
    return true;
}

bool Ac_infile_audio::read()
{
    if (!ready_to_read())
        return false;
    // The frame count comes from the file's header. The frames are read in
    // pieces into a growing buffer, so a header that claims more than the
    // file holds costs no memory beyond what is really there.
    const auto frames = static_cast<sf_count_t>(wave_frames);
    const sf_count_t first_frame = waves > 1 ? static_cast<sf_count_t>(wave_number) * frames : 0;
    std::vector<double> samples;
    if (reach(first_frame))
        read_frames(frames, &samples);
    const auto got = static_cast<sf_count_t>(samples.size());
    if (got != frames)
        return report("Only read " + std::to_string(got) + " of " + std::to_string(frames) +
                      " samples.");
    return store_data(samples);
}

bool Ac_infile_audio::reach(sf_count_t frame)
{
    if (frame == 0)
        return true;
    if (seeks_exactly(file_info))
        return sf_seek(sound_file, frame, SEEK_SET) == frame;
    return read_frames(frame, nullptr) == frame;
}

sf_count_t Ac_infile_audio::read_frames(sf_count_t count, std::vector<double>* kept)
{
    double piece[piece_frames];
    sf_count_t done = 0;
    while (done < count) {
        const sf_count_t wanted = std::min(piece_frames, count - done);
        const sf_count_t got = std::max<sf_count_t>(sf_readf_double(sound_file, piece, wanted), 0);
        if (kept)
            kept->insert(kept->end(), piece, piece + got);
        done += got;
        if (got != wanted)
            break;
    }
    return done;
}

std::uint32_t Ac_infile_audio::wave_count()
{
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(waves, std::numeric_limits<std::uint32_t>::max()));
}

std::vector<std::string> Ac_infile_audio::list_waves()
{
    if (waves < 2)
        return Ac_infile_base::list_waves();
    std::vector<std::string> names;
    if (!room_for_wave_names(waves))
        return names;
    for (std::uint64_t i = 0; i < waves; ++i)
        names.push_back(std::to_string(i) + " frame#" + std::to_string(i + 1));
    return names;
}

bool Ac_infile_audio::select_wave(std::uint32_t n)
{
    wave_number = n;
    return true;
}

bool Ac_infile_audio::select_wave_size(std::uint64_t samples)
{
    given_wave_size = samples;
    return true;
}

}  // namespace Vemo
