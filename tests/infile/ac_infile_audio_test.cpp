#include "infile/ac_infile_audio.hpp"

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

std::vector<std::uint32_t> every(std::uint32_t spacing, std::uint32_t count)
{
    std::vector<std::uint32_t> frames;
    for (std::uint32_t i = 0; i < count; ++i)
        frames.push_back(i * spacing);
    return frames;
}

TEST(Ac_infile_audio, ReadsTheLastWaveOfAWavetableByTheFirstRuleThatSizesIt)
{
    struct Case {
        std::string name;
        int format;
        /// The file: `count` waves of `size` samples, and `extra` more.
        std::size_t count, size, extra;
        /// clm text, srge size, cue frames, forward loop start and end.
        Wave_tags tags;
        std::uint64_t given_size;
        /// What the reader should find; 1 wave is the whole file.
        std::uint64_t wave_size, waves;
    };
    const std::string clm_256 = "<!>256 10000000 wavetable (test)";
    const Case cases[] = {
        {"clm.wav", pcm_16_wav, 4, 256, 0, {clm_256, 0, {}, 0, 0}, 0, 256, 4},
        {"srge.wav", pcm_16_wav, 8, 128, 0, {"", 128, {}, 0, 0}, 0, 128, 8},
        // More cue points than libsndfile's fixed SF_CUES holds.
        {"cue.wav", pcm_16_wav, 150, 64, 0, {"", 0, every(64, 150), 0, 0}, 0, 64, 150},
        {"loop.wav", pcm_16_wav, 3, 512, 0, {"", 0, {}, 0, 512}, 0, 512, 3},
        // A partial wave at the end is not a wave.
        {"given.wav", pcm_16_wav, 5, 100, 37, {}, 100, 100, 5},
        // Seeking in Vorbis lands near the frame, not on it.
        {"given.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 256, 2048, 0, {}, 2048, 2048, 256},
        // The rules in order: -S, clm, srge, cue, loop.
        {"given_first.wav", pcm_16_wav, 8, 256, 0, {clm_256, 0, {}, 0, 0}, 512, 512, 4},
        {"clm_first.wav", pcm_16_wav, 8, 256, 0, {clm_256, 512, {}, 0, 1024}, 0, 256, 8},
        {"srge_first.wav", pcm_16_wav, 8, 256, 0, {"", 128, every(256, 8), 0, 0}, 0, 128, 16},
        {"cue_first.wav", pcm_16_wav, 4, 256, 0, {"", 0, every(128, 8), 0, 256}, 0, 128, 8},
        // A tag that gives no wave of the file is passed over.
        {"zero_clm.wav", pcm_16_wav, 4, 256, 0, {"<!>0 1", 256, {}, 0, 0}, 0, 256, 4},
        {"oversized_clm.wav", pcm_16_wav, 4, 256, 0, {"<!>5000 1", 0, {}, 0, 256}, 0, 256, 4},
        // One wave, read whole: a tagged single cycle, ordinary loops,
        // uneven cues, no tag at all.
        {"single_cycle.wav", pcm_16_wav, 1, 2048, 0, {"<!>2048 1", 0, {}, 0, 0}, 0, 2048, 1},
        {"looped_sample.wav", pcm_16_wav, 1, 3000, 0, {"", 0, {}, 100, 900}, 0, 3000, 1},
        {"loop_not_dividing.wav", pcm_16_wav, 1, 3000, 0, {"", 0, {}, 0, 700}, 0, 3000, 1},
        {"uneven_cues.wav", pcm_16_wav, 4, 256, 0, {"", 0, {0, 100, 250}, 0, 0}, 0, 1024, 1},
        // Markers at the start and later on, as editors set them, do not
        // mark every wave of the file.
        {"marker_pair.wav", pcm_16_wav, 1, 10000, 0, {"", 0, {0, 3000}, 0, 0}, 0, 10000, 1},
        {"untagged.wav", pcm_16_wav, 16, 256, 0, {}, 0, 4096, 1},
    };
    const Temp_folder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path =
            testing::write_tagged_sound(folder.path(c.name), c.format,
                                        testing::wavetable_samples(c.count, c.size, c.extra),
                                        c.tags);
        Ac_infile_audio reader(path);
        const auto last = static_cast<std::uint32_t>(c.waves - 1);
        ASSERT_TRUE(reader.select_wave_size(c.given_size));
        ASSERT_TRUE(reader.select_wave(last));
        ASSERT_TRUE(reader.open()) << reader.error_message;
        EXPECT_EQ(reader.wave_count(), c.waves);
        const std::vector<std::string> names = reader.list_waves();
        ASSERT_EQ(names.size(), c.waves);
        EXPECT_EQ(names.back(), c.waves > 1 ? std::to_string(last) + " frame#" +
                                                  std::to_string(c.waves)
                                            : "Default");
        ASSERT_TRUE(reader.read()) << reader.error_message;
        const std::vector<double> expected =
            frames_of(path, c.waves > 1 ? last * c.wave_size : 0, c.wave_size);
        ASSERT_EQ(reader.data_size, c.wave_size);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), reader.data.get()));
    }
}

TEST(Ac_infile_audio, EveryAkwfWaveIsOneWaveReadWhole)
{
    std::size_t mono_count = 0;
    for (const boost::filesystem::directory_entry& entry :
         boost::filesystem::recursive_directory_iterator(TONALITH_TEST_DATA "/akwf")) {
        const std::string path = entry.path().string();
        if (entry.path().extension() != ".wav")
            continue;
        const testing::Sound sound = testing::read_sound(path);
        if (sound.info.channels != 1)
            continue;
        ++mono_count;
        Ac_infile_audio reader(path);
        ASSERT_TRUE(reader.open()) << path;
        EXPECT_EQ(reader.list_waves(), std::vector<std::string>{"Default"}) << path;
        ASSERT_TRUE(reader.read()) << path;
        ASSERT_EQ(reader.data_size, sound.samples.size()) << path;
        EXPECT_TRUE(std::equal(sound.samples.begin(), sound.samples.end(), reader.data.get()))
            << path;
    }
    EXPECT_EQ(mono_count, 118u);
}

}  // namespace
}  // namespace Vemo
