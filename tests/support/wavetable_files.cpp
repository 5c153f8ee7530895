#include "support/wavetable_files.hpp"

#include "support/reference_cycles.hpp"

#include <cstddef>
#include <cstring>
#include <stdexcept>

namespace Vemo::testing {

namespace {

SF_CHUNK_INFO chunk(const char* id, const void* bytes, std::size_t size)
{
    SF_CHUNK_INFO info{};
    std::memcpy(info.id, id, 4);
    info.id_size = 4;
    info.datalen = static_cast<unsigned>(size);
    info.data = const_cast<void*>(bytes);
    return info;
}

}  // namespace

std::vector<unsigned char> srge_chunk(std::uint32_t version, std::uint32_t size)
{
    std::vector<unsigned char> bytes;
    for (const std::uint32_t word : {version, size})
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(static_cast<unsigned char>(word >> shift));
    return bytes;
}

std::vector<double> wavetable_samples(std::size_t count, std::size_t size, std::size_t extra)
{
    std::vector<double> samples;
    for (std::size_t k = 0; k <= count; ++k) {
        std::vector<double> amplitudes(k % 7 + 2, 0.0);
        amplitudes.front() = 1.0;
        amplitudes.back() = 0.5;
        const std::vector<double> wave = sine_cycle(size, amplitudes);
        samples.insert(samples.end(), wave.begin(),
                       wave.begin() + static_cast<std::ptrdiff_t>(k < count ? size : extra));
    }
    for (double& sample : samples)
        sample *= 0.9;
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
    bool tagged = true;
    // libsndfile keeps the chunks' bytes until the file is closed.
    SF_CHUNK_INFO clm = chunk("clm ", tags.clm.data(), tags.clm.size());
    SF_CHUNK_INFO srge = chunk("srge", tags.srge.data(), tags.srge.size());
    for (SF_CHUNK_INFO* info : {&clm, &srge})
        if (info->datalen > 0)
            tagged = tagged && sf_set_chunk(file, info) == SF_ERR_NO_ERROR;
    if (!tags.cue_frames.empty()) {
        // Laid out as SF_CUES_VAR(count), for any count.
        using One_cue = SF_CUES_VAR(1);
        const std::uint32_t count = static_cast<std::uint32_t>(tags.cue_frames.size());
        const std::size_t offset = offsetof(One_cue, cue_points);
        std::vector<unsigned char> cues(offset + count * sizeof(SF_CUE_POINT));
        std::memcpy(cues.data(), &count, sizeof count);
        for (std::uint32_t i = 0; i < count; ++i) {
            SF_CUE_POINT point{};
            point.indx = static_cast<std::int32_t>(i + 1);
            point.position = tags.cue_frames[i];
            point.fcc_chunk = 0x61746164;  // "data", little-endian
            point.sample_offset = tags.cue_frames[i];
            std::memcpy(cues.data() + offset + i * sizeof point, &point, sizeof point);
        }
        tagged = tagged && sf_command(file, SFC_SET_CUE, cues.data(),
                                      static_cast<int>(cues.size())) == SF_TRUE;
    }
    if (tags.loop_mode != SF_LOOP_NONE) {
        SF_INSTRUMENT instrument{};
        instrument.basenote = 60;
        instrument.key_hi = instrument.velocity_hi = 127;
        instrument.loop_count = 1;
        instrument.loops[0].mode = tags.loop_mode;
        instrument.loops[0].start = tags.loop_start;
        instrument.loops[0].end = tags.loop_end;
        tagged = tagged && sf_command(file, SFC_SET_INSTRUMENT, &instrument,
                                      sizeof instrument) == SF_TRUE;
    }
    const auto frames = static_cast<sf_count_t>(samples.size());
    const bool written = sf_writef_double(file, samples.data(), frames) == frames;
    sf_close(file);
    if (!tagged || !written)
        throw std::runtime_error("cannot write the tags and samples of " + path);
    return path;
}

}  // namespace Vemo::testing
