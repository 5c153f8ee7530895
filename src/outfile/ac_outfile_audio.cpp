#include "outfile/ac_outfile_audio.hpp"

#include "formats/audio_chunks.hpp"
#include "formats/file_extensions.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <limits>
#include <vector>

namespace Vemo {

namespace {

/// Reasons that lie with the path or its folder, which libsndfile words
/// itself when it cannot open a file: "System error : " and the system's text.
const int path_reasons[] = {ENOENT, ENOTDIR, ELOOP, ENAMETOOLONG, EACCES, EPERM, EROFS};

}  // namespace

std::string Ac_outfile_audio::creation_failure(int error) const
{
    // Audio output is reported in libsndfile's words, as if it had opened the
    // file itself. Other reasons (out of descriptors or memory) concern the
    // program, not the path.
    if (std::find(std::begin(path_reasons), std::end(path_reasons), error) !=
        std::end(path_reasons))
        return std::string("System error : ") + std::strerror(error) + ".";
    return file_name + " could not be created: " + std::strerror(error) + ".";
}

Ac_outfile_audio::~Ac_outfile_audio() { close(); }

bool Ac_outfile_audio::open()
{
    if (is_open)
        return true;
    if (!ok)
        return false;
    // The name is judged before anything is created, so a refused name
    // leaves the file system untouched.
    const int container = audio_container_from_extension(file_name);
    if (container == 0)
        return fail("Audio output can only be written in wav and aiff format. "
                    "Filenames should end in " + audio_output_extensions() + ".");
    // libsndfile keeps the rate as an int; a larger one would turn negative.
    if (sample_rate > static_cast<std::uint32_t>(std::numeric_limits<int>::max()))
        return fail("Can't write a sample rate of " + std::to_string(sample_rate) +
                    " Hz. Sample rates end at " +
                    std::to_string(std::numeric_limits<int>::max()) + " Hz.");
    sound_format = container | SF_FORMAT_PCM_16;
    file_info.samplerate = static_cast<int>(sample_rate);
    file_info.channels = 1;
    file_info.format = sound_format;

    // libsndfile is handed the new file's descriptor and closes it itself,
    // also when it refuses to open it.
    if (!create_file())
        return false;
    sound_file = sf_open_fd(hand_over_descriptor(), SFM_WRITE, &file_info, SF_TRUE);
    if (!sound_file)
        return fail(sf_strerror(nullptr));
    is_open = true;
    return true;
}

void Ac_outfile_audio::close()
{
    // The header learns the number of frames written; libsndfile reports a
    // failure to store it only when asked right away, not from sf_close.
    if (sound_file && ok) {
        sf_command(sound_file, SFC_UPDATE_HEADER_NOW, nullptr, 0);
        if (sf_error(sound_file) != SF_ERR_NO_ERROR)
            fail(not_all_written());
    }
    if (sound_file && sf_close(sound_file) != 0)
        fail(not_all_written());
    sound_file = nullptr;
    is_open = false;
}

bool Ac_outfile_audio::mark_cycle()
{
    // The wave size is known only now, and libsndfile takes the instrument
    // and the extra chunks only before the first frame: a chunk added later
    // would grow the header over the frames already written. A sampler plays
    // the first wave of a table; synths take the wave size from the tags.
    const std::uint64_t frames = wave_size();
    if (frames == 0)
        return true;
    std::vector<Sound_chunk> chunks;
    if ((sound_format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV) {
        SF_INSTRUMENT instrument = wav_cycle_instrument(sample_rate, frames);
        if (sf_command(sound_file, SFC_SET_INSTRUMENT, &instrument, sizeof instrument) != SF_TRUE)
            return false;
        chunks = wav_table_chunks(frames, wave_count);
    } else {
        chunks = aiff_cycle_chunks(sample_rate, frames);
    }
    for (Sound_chunk& chunk : chunks) {
        SF_CHUNK_INFO info{};
        chunk.id.copy(info.id, sizeof info.id - 1);
        info.id_size = static_cast<unsigned>(chunk.id.size());
        info.datalen = static_cast<unsigned>(chunk.bytes.size());
        info.data = chunk.bytes.data();
        if (sf_set_chunk(sound_file, &info) != SF_ERR_NO_ERROR)
            return false;
    }
    return true;
}

bool Ac_outfile_audio::write()
{
    if (!ok)
        return false;
    // Guards a normal run never reaches, kept so that a call out of order is
    // reported; the missing blank before "Has not been opened" is the
    // message's own, kept word for word.
    if (!data)
        return report("There is no data to write to file.");
    if (!is_open)
        return report(file_name + "Has not been opened for output yet.");
    if (!cycle_marked) {
        if (!mark_cycle())
            return fail(not_all_written());
        cycle_marked = true;
    }
    const sf_count_t count = static_cast<sf_count_t>(data_size);
    if (sf_write_double(sound_file, data.get(), count) != count)
        return fail(not_all_written());
    return true;
}

}  // namespace Vemo
