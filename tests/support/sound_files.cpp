#include "support/sound_files.hpp"

#include <stdexcept>

namespace Vemo::testing {

std::string write_sound(const std::string& path, int format, int channels, int sample_rate,
                        const std::vector<double>& samples)
{
    SF_INFO info{};
    info.format = format;
    info.channels = channels;
    info.samplerate = sample_rate;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    const sf_count_t frames = static_cast<sf_count_t>(samples.size()) / channels;
    const sf_count_t written = sf_writef_double(file, samples.data(), frames);
    sf_close(file);
    if (written != frames)
        throw std::runtime_error("cannot write all of " + path);
    return path;
}

Sound read_sound(const std::string& path)
{
    Sound sound;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sound.info);
    if (!file)
        throw std::runtime_error("cannot read " + path + ": " + sf_strerror(nullptr));
    sound.samples.resize(static_cast<std::size_t>(sound.info.frames * sound.info.channels));
    const sf_count_t got = sf_readf_double(file, sound.samples.data(), sound.info.frames);
    sf_close(file);
    if (got != sound.info.frames)
        throw std::runtime_error("cannot read all of " + path);
    return sound;
}

double written_value(double read_back) { return read_back * 32768.0 / 32767.0; }

}  // namespace Vemo::testing
