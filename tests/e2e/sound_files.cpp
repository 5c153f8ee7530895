#include "e2e/sound_files.hpp"

#include <cmath>
#include <stdexcept>

namespace Vemo::testing {

void write_sound(const std::string& path, int format, int channels, int sample_rate,
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

std::vector<double> harmonic_cycle(std::size_t frames, const std::vector<double>& amplitudes)
{
    const double two_pi = 6.283185307179586;
    std::vector<double> cycle(frames, 0.0);
    for (std::size_t j = 0; j < frames; ++j)
        for (std::size_t k = 0; k < amplitudes.size(); ++k)
            cycle[j] += amplitudes[k] *
                        std::sin(two_pi * static_cast<double>((k + 1) * j % frames) /
                                 static_cast<double>(frames));
    return cycle;
}

double written_value(double read_back) { return read_back * 32768.0 / 32767.0; }

}  // namespace Vemo::testing
