#include "infile/ac_infile_audio.hpp"

#include "infile/missing_wave.hpp"
#include "support/sound_files.hpp"
#include "support/temp_folder.hpp"
#include "support/wavetable_files.hpp"

#include <boost/filesystem.hpp>

#include <gtest/gtest.h>

#include <algorithm>

namespace Vemo {
namespace {

using testing::Temp_folder;
using testing::Wave_tags;

const int pcm_16_wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

/// Writes 16-bit `levels` (channels interleaved) as a new WAV file.
std::string write_levels(const Temp_folder& folder, const std::string& name, int channels,
                         const std::vector<double>& levels)
{
    std::vector<double> samples;
    for (double level : levels)
        samples.push_back(level / 32767);
    return testing::write_sound(folder.path(name), SF_FORMAT_WAV | SF_FORMAT_PCM_16, channels,
                                44100, samples);
}

TEST(Ac_infile_audio, ReadsSixteenBitLevelsScaledToFullScale)
{
    const Temp_folder folder;
    Ac_infile_audio reader(write_levels(folder, "cycle.wav", 1, {0, 16384, -32768, 32767, -1}));
    ASSERT_TRUE(reader.open());
    ASSERT_TRUE(reader.read());
    ASSERT_EQ(reader.data_size, 5u);
    const double expected[] = {0.0, 0.5, -1.0, 32767.0 / 32768, -1.0 / 32768};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(reader.data[i], expected[i]) << "sample " << i;
}

TEST(Ac_infile_audio, RefusedFileIsClosedAndStaysUnusable)
{
    const Temp_folder folder;
    Ac_infile_audio reader(write_levels(folder, "stereo.wav", 2, {1, 2, 3, 4}));
    EXPECT_FALSE(reader.open());
    EXPECT_FALSE(reader.ok);
    EXPECT_FALSE(reader.is_open);
    const std::string message = folder.path("stereo.wav") + " has more than one audio channel.";
    EXPECT_EQ(reader.error_message, message);
    EXPECT_FALSE(reader.open());
    EXPECT_FALSE(reader.read());
    EXPECT_EQ(reader.error_message, message);
    reader.close();
    reader.close();
    EXPECT_FALSE(reader.data);
}

TEST(Ac_infile_audio, ShortReadNamesBothCountsAndKeepsTheReaderUsable)
{
    const Temp_folder folder;
    const std::string path = write_levels(folder, "cycle.wav", 1, std::vector<double>(600, 7));
    Ac_infile_audio reader(path);
    ASSERT_TRUE(reader.open());
    // The file loses all but 100 frames between the check and the read.
    boost::filesystem::resize_file(path, 44 + 2 * 100);
    EXPECT_FALSE(reader.read());
    EXPECT_EQ(reader.error_message, "Only read 100 of 600 samples.");
    EXPECT_TRUE(reader.ok);
    EXPECT_TRUE(reader.is_open);
    EXPECT_EQ(reader.data_size, 0u);
}

/// Frames [first, first + count) of `path`, as libsndfile reads them from the start.
std::vector<double> frames_of(const std::string& path, std::size_t first, std::size_t count)
{
    const std::vector<double> samples = testing::read_sound(path).samples;
    const auto start = samples.begin() + static_cast<std::ptrdiff_t>(first);
    return {start, start + static_cast<std::ptrdiff_t>(count)};
}

Wave_tags clm(const std::string& text)
{
    Wave_tags tags;
    tags.clm = text;
    return tags;
}

Wave_tags srge(std::uint32_t version, std::uint32_t size)
{
    Wave_tags tags;
    tags.srge = testing::srge_chunk(version, size);
    return tags;
}

Wave_tags cues_at(std::vector<std::uint32_t> frames)
{
    Wave_tags tags;
    tags.cue_frames = std::move(frames);
    return tags;
}

Wave_tags cues_every(std::uint32_t spacing, std::uint32_t count)
{
    Wave_tags tags;
    for (std::uint32_t i = 0; i < count; ++i)
        tags.cue_frames.push_back(i * spacing);
    return tags;
}

Wave_tags loop(int mode, unsigned start, unsigned end)
{
    Wave_tags tags;
    tags.loop_mode = mode;
    tags.loop_start = start;
    tags.loop_end = end;
    return tags;
}

TEST(Ac_infile_audio, ReadsTheLastWaveOfAWavetableByTheFirstRuleThatSizesIt)
{
    struct Case {
        std::string name;
        int format;
        /// The file: `count` waves of `size` samples, and `extra` more.
        std::size_t count, size, extra;
        Wave_tags tags;
        std::uint64_t given_size;
        /// What the reader should find; 1 wave is the whole file.
        std::uint64_t wave_size, waves;
    };
    const Wave_tags clm_256 = clm("<!>256 10000000 wavetable (test)");
    Wave_tags clm_then_others = loop(SF_LOOP_FORWARD, 0, 1024);
    clm_then_others.clm = clm_256.clm;
    clm_then_others.srge = testing::srge_chunk(1, 512);
    Wave_tags srge_then_cues = cues_every(256, 8);
    srge_then_cues.srge = testing::srge_chunk(1, 128);
    Wave_tags cues_then_loop = loop(SF_LOOP_FORWARD, 0, 256);
    cues_then_loop.cue_frames = cues_every(128, 8).cue_frames;
    Wave_tags zero_clm = srge(1, 256);
    zero_clm.clm = "<!>0 10000000";
    Wave_tags oversized_clm = loop(SF_LOOP_FORWARD, 0, 256);
    oversized_clm.clm = "<!>5000 10000000";
    const int ogg_vorbis = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    const Case cases[] = {
        {"clm.wav", pcm_16_wav, 4, 256, 0, clm_256, 0, 256, 4},
        {"srge.wav", pcm_16_wav, 8, 128, 0, srge(1, 128), 0, 128, 8},
        // More cue points than libsndfile's fixed SF_CUES holds.
        {"cue.wav", pcm_16_wav, 150, 64, 0, cues_every(64, 150), 0, 64, 150},
        {"loop.wav", pcm_16_wav, 3, 512, 0, loop(SF_LOOP_FORWARD, 0, 512), 0, 512, 3},
        // A partial wave at the end is not a wave.
        {"given.wav", pcm_16_wav, 5, 100, 37, {}, 100, 100, 5},
        {"given.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 4, 256, 0, {}, 256, 256, 4},
        {"given.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 6, 300, 0, {}, 300, 300, 6},
        {"given.ogg", ogg_vorbis, 256, 2048, 0, {}, 2048, 2048, 256},
        {"given_over_clm.wav", pcm_16_wav, 8, 256, 0, clm_256, 512, 512, 4},
        {"clm_first.wav", pcm_16_wav, 8, 256, 0, clm_then_others, 0, 256, 8},
        {"srge_before_cue.wav", pcm_16_wav, 8, 256, 0, srge_then_cues, 0, 128, 16},
        {"cue_before_loop.wav", pcm_16_wav, 4, 256, 0, cues_then_loop, 0, 128, 8},
        // A tag that gives no wave of the file is passed over.
        {"zero_clm.wav", pcm_16_wav, 4, 256, 0, zero_clm, 0, 256, 4},
        {"oversized_clm.wav", pcm_16_wav, 4, 256, 0, oversized_clm, 0, 256, 4},
        // One wave, read whole: a tagged single cycle, ordinary loops,
        // uneven cues, no tag at all, a tag that is not one.
        {"single_cycle.wav", pcm_16_wav, 1, 2048, 0, clm("<!>2048 00000000"), 0, 2048, 1},
        {"looped_sample.wav", pcm_16_wav, 1, 3000, 0, loop(SF_LOOP_FORWARD, 100, 900), 0, 3000,
         1},
        {"loop_not_dividing.wav", pcm_16_wav, 1, 3000, 0, loop(SF_LOOP_FORWARD, 0, 700), 0,
         3000, 1},
        {"backward_loop.wav", pcm_16_wav, 4, 256, 0, loop(SF_LOOP_BACKWARD, 0, 256), 0, 1024, 1},
        {"uneven_cues.wav", pcm_16_wav, 4, 256, 0, cues_at({0, 100, 250}), 0, 1024, 1},
        {"untagged.wav", pcm_16_wav, 16, 256, 0, {}, 0, 4096, 1},
        {"clm_without_mark.wav", pcm_16_wav, 4, 256, 0, clm("256 10000000"), 0, 1024, 1},
        {"given_one_wave.wav", pcm_16_wav, 1, 256, 44, {}, 256, 300, 1},
    };
    const Temp_folder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path =
            testing::write_tagged_sound(folder.path(c.name), c.format,
                                        testing::wavetable_samples(c.count, c.size, c.extra),
                                        c.tags);
        Ac_infile_audio reader(path);
        const std::uint32_t last = static_cast<std::uint32_t>(c.waves - 1);
        // A file of one wave accepts any wave number.
        ASSERT_TRUE(reader.select_wave_size(c.given_size));
        ASSERT_TRUE(reader.select_wave(c.waves > 1 ? last : 7));
        ASSERT_TRUE(reader.open()) << reader.error_message;
        EXPECT_EQ(reader.wave_count(), c.waves);
        const std::vector<std::string> names = reader.list_waves();
        if (c.waves > 1) {
            ASSERT_EQ(names.size(), c.waves);
            EXPECT_EQ(names.front(), "0 frame#1");
            EXPECT_EQ(names.back(), std::to_string(last) + " frame#" + std::to_string(c.waves));
        } else {
            EXPECT_EQ(names, std::vector<std::string>{"Default"});
        }
        ASSERT_TRUE(reader.read()) << reader.error_message;
        const std::vector<double> expected =
            frames_of(path, c.waves > 1 ? last * c.wave_size : 0, c.wave_size);
        ASSERT_EQ(reader.data_size, c.wave_size);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reader.data.get()));
    }
}

TEST(Ac_infile_audio, RefusesWhenItOpensAWaveItCannotRead)
{
    struct Case {
        std::string name;
        std::size_t count, size;
        Wave_tags tags;
        std::uint64_t given_size;
        std::uint32_t wave_number;
        std::string fault;
    };
    const Temp_folder folder;
    const Case cases[] = {
        {"short.wav", 1, 1000, {}, 2000, 0, " holds 1000 samples, fewer than one wave of 2000."},
        {"long_wave.wav", 2, 70000, clm("<!>70000"), 0, 0, " has too many samples."},
        {"table.wav", 4, 256, clm("<!>256"), 0, 4, ""},
    };
    for (const Case& c : cases) {
        const std::string path = testing::write_tagged_sound(
            folder.path(c.name), pcm_16_wav, testing::wavetable_samples(c.count, c.size), c.tags);
        Ac_infile_audio reader(path);
        reader.select_wave_size(c.given_size);
        reader.select_wave(c.wave_number);
        EXPECT_FALSE(reader.open()) << c.name;
        EXPECT_FALSE(reader.ok) << c.name;
        EXPECT_FALSE(reader.is_open) << c.name;
        EXPECT_EQ(reader.error_message, c.fault.empty()
                                            ? missing_wave_message(path, c.wave_number, c.count)
                                            : path + c.fault);
    }
}

TEST(Ac_infile_audio, EveryAkwfWaveIsOneWaveReadWhole)
{
    std::size_t mono_count = 0;
    for (const boost::filesystem::directory_entry& entry :
         boost::filesystem::recursive_directory_iterator(TONALITH_TEST_DATA "/akwf")) {
        const std::string path = entry.path().string();
        if (entry.path().extension() != ".wav" || testing::read_sound(path).info.channels != 1)
            continue;
        ++mono_count;
        Ac_infile_audio reader(path);
        reader.select_wave(3);
        ASSERT_TRUE(reader.open()) << path;
        EXPECT_EQ(reader.wave_count(), 1u) << path;
        EXPECT_EQ(reader.list_waves(), std::vector<std::string>{"Default"}) << path;
        ASSERT_TRUE(reader.read()) << path;
        const std::vector<double> expected = testing::read_sound(path).samples;
        ASSERT_EQ(reader.data_size, expected.size()) << path;
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reader.data.get())) << path;
    }
    EXPECT_EQ(mono_count, 118u);
}

}  // namespace
}  // namespace Vemo
