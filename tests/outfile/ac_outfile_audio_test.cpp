#include "outfile/ac_outfile_audio.hpp"

#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

namespace Vemo {
namespace {

using testing::file_exists;

/// The descriptor number that the next file opened will get.
int next_descriptor()
{
    const int probe = ::open("/dev/null", O_RDONLY);
    ::close(probe);
    return probe;
}
using testing::Temp_folder;

const std::string wrong_name_message =
    "Audio output can only be written in wav and aiff format. "
    "Filenames should end in .wav, .aif or .aiff.";

TEST(Ac_outfile_audio, WrongNameMakesTheWriterUnusable)
{
    const Temp_folder folder;
    Ac_outfile_audio writer(folder.path("cycle.wave"));
    EXPECT_FALSE(writer.open());
    EXPECT_FALSE(writer.ok);
    EXPECT_EQ(writer.error_message, wrong_name_message);
    EXPECT_FALSE(file_exists(folder.path("cycle.wave")));

    const double values[] = {0.5};
    ASSERT_TRUE(writer.set_data(values, 1));
    EXPECT_FALSE(writer.open());
    EXPECT_FALSE(writer.write());
    EXPECT_EQ(writer.error_message, wrong_name_message);
}

TEST(Ac_outfile_audio, WriteNeedsDataThenAnOpenFile)
{
    const Temp_folder folder;
    const std::string path = folder.path("cycle.wav");
    Ac_outfile_audio writer(path);
    EXPECT_FALSE(writer.write());
    EXPECT_EQ(writer.error_message, "There is no data to write to file.");
    EXPECT_TRUE(writer.ok);

    const double values[] = {0.5, -0.5};
    ASSERT_TRUE(writer.set_data(values, 2));
    EXPECT_FALSE(writer.write());
    EXPECT_EQ(writer.error_message, path + "Has not been opened for output yet.");
    EXPECT_TRUE(writer.ok);
    EXPECT_FALSE(file_exists(path));

    ASSERT_TRUE(writer.open());
    EXPECT_TRUE(writer.write());
}

TEST(Ac_outfile_audio, CloseCompletesTheFileAndMayBeRepeated)
{
    const Temp_folder folder;
    const std::string path = folder.path("cycle.aiff");
    Ac_outfile_audio writer(path);
    writer.close();
    writer.sample_rate = 22050;
    const int descriptor = next_descriptor();
    ASSERT_TRUE(writer.open());
    EXPECT_TRUE(writer.open());
    const double values[] = {0.25, -0.25, 1.0};
    ASSERT_TRUE(writer.set_data(values, 3));
    ASSERT_TRUE(writer.write());
    ASSERT_TRUE(writer.publish()) << writer.error_message;
    EXPECT_EQ(::fcntl(descriptor, F_GETFD), -1) << "the file's descriptor is still open";
    writer.close();
    EXPECT_FALSE(writer.is_open);

    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    short levels[3] = {};
    EXPECT_EQ(sf_readf_short(file, levels, 3), 3);
    sf_close(file);
    EXPECT_EQ(info.format, SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
    EXPECT_EQ(info.samplerate, 22050);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.frames, 3);
    EXPECT_EQ(levels[0], 8192);
    EXPECT_EQ(levels[1], -8192);
    EXPECT_EQ(levels[2], 32767);
}

TEST(Ac_outfile_audio, RefusedHeaderLeavesTheDescriptorToLibsndfile)
{
    const Temp_folder folder;
    const std::string path = folder.path("cycle.wav");
    const int expected_descriptor = next_descriptor();
    ASSERT_GE(expected_descriptor, 0);
    {
        Ac_outfile_audio writer(path);
        writer.sample_rate = 0;
        EXPECT_FALSE(writer.open());
        EXPECT_EQ(writer.error_message, "Internal error : SF_INFO struct incomplete.");
        EXPECT_FALSE(writer.ok);
        EXPECT_FALSE(writer.is_open);
        // libsndfile has closed the file's descriptor: nothing leaks.
        EXPECT_EQ(::fcntl(expected_descriptor, F_GETFD), -1);

        // The number is now reused; the writer must not close it a second time.
        const int other = ::open("/dev/null", O_RDONLY);
        ASSERT_EQ(other, expected_descriptor);
        writer.close();
        writer.remove_created_file();
        EXPECT_FALSE(file_exists(path));
    }
    EXPECT_NE(::fcntl(expected_descriptor, F_GETFD), -1);
    ::close(expected_descriptor);
}

}  // namespace
}  // namespace Vemo
