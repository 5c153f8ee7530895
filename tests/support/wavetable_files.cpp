#include "support/wavetable_files.hpp"

#include "support/reference_cycles.hpp"

#include <sndfile.h>

#include <cstring>
#include <memory>
#include <stdexcept>

namespace Vemo::testing {

std::vector<double> wavetable_samples(std::size_t count, std::size_t size, std::size_t extra)
{
    std::vector<double> samples;
    for (std::size_t k = 0; k <= count; ++k) {
        std::vector<double> amplitudes(k % 7 + 2, 0.0);
        amplitudes.front() = 1.0;
        amplitudes.back() = 0.5;
        const std::vector<double> wave = sine_cycle(size, amplitudes);
        for (std::size_t j = 0; j < (k < count ? size : extra); ++j)
            samples.push_back(0.9 * wave[j]);
    }
    return samples;
}

std::string write_tagged_sound(const std::string& path, int format,
                               const std::vector<double>& samples, const Wave_tags& tags)
{
    SF_INFO info{};
    info.format = format;
    info.channels = 1;
    info.samplerate = 44100;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    // libsndfile keeps pointers to the chunks' bytes until the file is closed.
    const unsigned char srge[8] = {1, 0, 0, 0, static_cast<unsigned char>(tags.srge),
                                   static_cast<unsigned char>(tags.srge >> 8),
                                   static_cast<unsigned char>(tags.srge >> 16),
                                   static_cast<unsigned char>(tags.srge >> 24)};
    SF_CHUNK_INFO chunks[2] = {{"clm ", 4, static_cast<unsigned>(tags.clm.size()),
                                const_cast<char*>(tags.clm.data())},
                               {"srge", 4, tags.srge ? 8u : 0u, const_cast<unsigned char*>(srge)}};
    bool tagged = true;
    for (SF_CHUNK_INFO& chunk : chunks)
        tagged = tagged && (chunk.datalen == 0 || sf_set_chunk(file, &chunk) == SF_ERR_NO_ERROR);
    using Cues = SF_CUES_VAR(256);
    if (tags.cue_frames.size() > 256)
        throw std::invalid_argument("at most 256 cue points");
    const auto cues = std::make_unique<Cues>();
    cues->cue_count = static_cast<std::uint32_t>(tags.cue_frames.size());
    for (std::uint32_t i = 0; i < cues->cue_count; ++i) {
        cues->cue_points[i].indx = static_cast<std::int32_t>(i + 1);
        cues->cue_points[i].position = cues->cue_points[i].sample_offset = tags.cue_frames[i];
        std::memcpy(&cues->cue_points[i].fcc_chunk, "data", 4);
    }
    if (cues->cue_count > 0)
        tagged = tagged && sf_command(file, SFC_SET_CUE, cues.get(), sizeof(Cues)) == SF_TRUE;
    SF_INSTRUMENT instrument{};
    instrument.loop_count = 1;
    instrument.loops[0] = {SF_LOOP_FORWARD, tags.loop_start, tags.loop_end, 0};
    if (tags.loop_end > 0)
        tagged = tagged &&
                 sf_command(file, SFC_SET_INSTRUMENT, &instrument, sizeof instrument) == SF_TRUE;
    const auto frames = static_cast<sf_count_t>(samples.size());
    const bool written = sf_writef_double(file, samples.data(), frames) == frames;
    sf_close(file);
    if (!tagged || !written)
        throw std::runtime_error("cannot write the tags and samples of " + path);
    return path;
}

}  // namespace Vemo::testing
