#include "infile/ac_infile_audio.hpp"

#include "app/stages/value_array.hpp"

namespace Vemo {

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
    bool accepted = true;
    if (file_info.channels != 1)
        accepted = fail(file_name + " has more than one audio channel.");
    if (file_info.frames > max_frames)
        accepted = fail(file_name + " has too many samples.");
    if (!accepted)
        close();
    return accepted;
}

bool Ac_infile_audio::read()
{
    if (!is_open || !ok)
        return false;
    const sf_count_t frames = file_info.frames;
    data = make_value_array(static_cast<std::uint64_t>(frames));
    const sf_count_t got = sf_readf_double(sound_file, data.get(), frames);
    if (got != frames) {
        error_message = "Only read " + std::to_string(got) + " of " + std::to_string(frames) +
                        " samples.";
        return false;
    }
    data_size = static_cast<std::uint64_t>(frames);
    return true;
}

}  // namespace Vemo
