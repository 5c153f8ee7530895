#include "outfile/ac_outfile_audio.hpp"

#include "app/format_resolution.hpp"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <string_view>

namespace Vemo {

namespace {

struct Extension_container {
    std::string_view extension;
    int container;
};

/// The extensions accepted, compared exactly and case-sensitively.
const Extension_container extension_containers[] = {
    {"wav", SF_FORMAT_WAV},
    {"aiff", SF_FORMAT_AIFF},
};

/// The container for `file_name`, or 0 when its extension names none.
int container_from_extension(const std::string& file_name)
{
    const std::string_view extension = file_extension(file_name);
    for (const Extension_container& row : extension_containers)
        if (row.extension == extension)
            return row.container;
    return 0;
}

/// A file of a name that nobody uses, next to `file_name`.
std::string unused_name_beside(const std::string& file_name)
{
    const std::string folder = std::filesystem::path(file_name).parent_path().string();
    return (folder.empty() ? "" : folder + "/") + ".tonalith-" + std::to_string(::getpid()) +
           "-" + std::to_string(std::random_device{}()) + ".wav";
}

}  // namespace

std::string Ac_outfile_audio::creation_failure_text(int error) const
{
    // The file could not be created for a reason of its folder (`error`).
    // libsndfile words such reasons itself; asked to create another file in
    // the same folder, it fails for the same reason and says so. Should the
    // folder have changed meanwhile, that file is removed again, and the
    // system's own text for `error` is reported.
    SF_INFO probe_info = file_info;
    const std::string probe = unused_name_beside(file_name);
    SNDFILE* const opened = sf_open(probe.c_str(), SFM_WRITE, &probe_info);
    if (!opened)
        return sf_strerror(nullptr);
    sf_close(opened);
    ::unlink(probe.c_str());
    return file_name + " could not be created: " + std::strerror(error) + ".";
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
                    "Filenames should end in .wav or .aiff.");
    // libsndfile keeps the rate as an int; a larger one would turn negative.
    if (sample_rate > static_cast<std::uint32_t>(std::numeric_limits<int>::max()))
        return fail("Can't write a sample rate of " + std::to_string(sample_rate) +
                    " Hz. Sample rates end at " +
                    std::to_string(std::numeric_limits<int>::max()) + " Hz.");
    sound_format = container | SF_FORMAT_PCM_16;
    file_info.samplerate = static_cast<int>(sample_rate);
    file_info.channels = 1;
    file_info.format = sound_format;

    // The base creates the file; libsndfile then owns the descriptor and
    // closes it itself, also when it refuses to open it.
    const int error = create_new_file();
    if (error == EEXIST)
        return fail(already_exists());
    if (error != 0)
        return fail(creation_failure_text(error));
    sound_file = sf_open_fd(release_descriptor(), SFM_WRITE, &file_info, SF_TRUE);
    if (!sound_file)
        return fail(sf_strerror(nullptr));
    is_open = true;
    return true;
}

void Ac_outfile_audio::close()
{
    // Closing completes the header with the number of frames written.
    if (sound_file && sf_close(sound_file) != 0 && ok)
        fail("Not all data was written to " + file_name);
    sound_file = nullptr;
    is_open = false;
}

bool Ac_outfile_audio::write()
{
    if (!ok)
        return false;
    if (!data)
        return report("There is no data to write to file.");
    if (!is_open)
        return report(file_name + "Has not been opened for output yet.");
    const sf_count_t count = static_cast<sf_count_t>(data_size);
    if (sf_write_double(sound_file, data.get(), count) != count)
        return fail("Not all data was written to " + file_name);
    return true;
}

}  // namespace Vemo
