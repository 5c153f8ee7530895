#include "outfile/ac_outfile_audio.hpp"

#include "app/format_resolution.hpp"
#include "formats/audio_chunks.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <limits>
#include <string_view>
#include <vector>

namespace Vemo {

namespace {

struct Extension_container {
    std::string_view extension;
    int container;
};

/// The extensions accepted, in lower case; a file name's may be in any case.
const Extension_container extension_containers[] = {
    {"wav", SF_FORMAT_WAV},
    {"aif", SF_FORMAT_AIFF},
    {"aiff", SF_FORMAT_AIFF},
};

/// The container for `file_name`, or 0 when its extension names none.
int container_from_extension(const std::string& file_name)
{
    const std::string_view extension = file_extension(file_name);
    for (const Extension_container& row : extension_containers)
        if (extension_is(extension, row.extension))
            return row.container;
    return 0;
}

/// Reasons of the path itself: opening the output for reading meets them too.
const int path_reasons[] = {ENOENT, ENOTDIR, ELOOP, ENAMETOOLONG};
/// Reasons of a folder that takes no new file: only creating a file meets them.
const int folder_reasons[] = {EACCES, EPERM, EROFS};

template <std::size_t count>
bool among(int error, const int (&reasons)[count])
{
    return std::find(std::begin(reasons), std::end(reasons), error) != std::end(reasons);
}

/// libsndfile's text for opening `path` in `mode`, if that fails for the
/// system's reason `error`; empty otherwise. A file that opens after all (the
/// folder changed meanwhile) is closed, and removed if it was created here.
std::string libsndfile_text(const std::string& path, int mode, SF_INFO info, int error)
{
    SNDFILE* const opened = sf_open(path.c_str(), mode, &info);
    const int reason = errno;
    if (!opened)
        return reason == error ? sf_strerror(nullptr) : "";
    sf_close(opened);
    if (mode == SFM_WRITE)
        ::unlink(path.c_str());
    return "";
}

}  // namespace

std::string Ac_outfile_audio::creation_failure(int error) const
{
    // libsndfile words the reasons a file cannot be opened itself. It is
    // asked to open a file that fails for the same reason without anything
    // being created: the output for reading, or, where only creating meets
    // the reason, a file of another name in the same folder, which the
    // folder refuses just as it refused the output. Other reasons (out of
    // descriptors or memory) concern the program, not the path.
    std::string text;
    if (among(error, path_reasons) || among(error, folder_reasons)) {
        SF_INFO to_read{};
        text = libsndfile_text(file_name, SFM_READ, to_read, error);
    }
    const std::string beside = file_name + "." + std::to_string(::getpid()) + ".probe";
    struct stat taken;
    if (text.empty() && among(error, folder_reasons) && ::lstat(beside.c_str(), &taken) != 0)
        text = libsndfile_text(beside, SFM_WRITE, file_info, error);
    return text.empty() ? file_name + " could not be created: " + std::strerror(error) + "."
                        : text;
}

Ac_outfile_audio::Ac_outfile_audio(const std::string& name) : Ac_outfile_base(name) {}

Ac_outfile_audio::Ac_outfile_audio(const char* name) : Ac_outfile_base(name) {}

Ac_outfile_audio::~Ac_outfile_audio() { close(); }

bool Ac_outfile_audio::open()
{
    if (is_open)
        return true;
    if (!ok)
        return false;
    // The name is judged before anything is created, so a refused name
    // leaves the file system untouched.
    const int container = container_from_extension(file_name);
    if (container == 0)
        return fail("Audio output can only be written in wav and aiff format. "
                    "Filenames should end in .wav, .aif or .aiff.");
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
    // N is known only now, and libsndfile takes the instrument and the extra
    // chunks only before the first frame: a chunk added later would grow the
    // header over the frames already written.
    if (data_size == 0)
        return true;
    std::vector<Sound_chunk> chunks;
    if ((sound_format & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV) {
        SF_INSTRUMENT instrument = wav_cycle_instrument(sample_rate, data_size);
        if (sf_command(sound_file, SFC_SET_INSTRUMENT, &instrument, sizeof instrument) != SF_TRUE)
            return false;
        chunks = wav_cycle_chunks(data_size);
    } else {
        chunks = aiff_cycle_chunks(sample_rate, data_size);
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
