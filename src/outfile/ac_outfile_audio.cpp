#include "outfile/ac_outfile_audio.hpp"

#include "app/format_resolution.hpp"

#include <limits>
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

}  // namespace

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

    // The base creates the file exclusively; libsndfile then owns the
    // descriptor and closes it itself, also when it refuses to open it.
    if (!open_new_file())
        return false;
    sound_file = sf_open_fd(release_descriptor(), SFM_WRITE, &file_info, SF_TRUE);
    if (!sound_file) {
        is_open = false;
        return fail(sf_strerror(nullptr));
    }
    return true;
}

void Ac_outfile_audio::close()
{
    if (sound_file)
        sf_close(sound_file);
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
