#include "infile/ac_infile_audio.hpp"

#include "support/sound_files.hpp"
#include "support/temp_folder.hpp"

#include <boost/filesystem.hpp>

#include <gtest/gtest.h>

namespace Vemo {
namespace {

using testing::Temp_folder;

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

}  // namespace
}  // namespace Vemo
