// The .wt reader: the waves of files in each sample coding, with and without
// a text block, read one by one, and the files it refuses when it opens them.

#include "infile/ac_infile_wt.hpp"
#include "support/temp_folder.hpp"
#include "support/wt_bytes.hpp"

#include <gtest/gtest.h>

namespace Vemo::testing {
namespace {

class Infile_wt : public ::testing::Test {
protected:
    Temp_folder folder;
};

TEST_F(Infile_wt, ReadsEachWaveOfEachCodingWithOrWithoutText)
{
    // The divisor that turns a stored level into the value read.
    const std::pair<std::uint16_t, double> codings[] = {
        {0x0000, 32768.0}, {0x0004, 16384.0}, {0x000C, 32768.0}};
    const std::vector<int> levels = wt_levels(3, 16);
    for (const auto& [flags, divisor] : codings)
        for (const bool text : {false, true}) {
            const std::uint16_t all_flags = flags | (text ? 0x0010 : 0);
            SCOPED_TRACE("flags " + std::to_string(all_flags));
            const std::string path = folder.write(
                "t" + std::to_string(all_flags) + ".wt",
                wt_bytes(16, 3, all_flags, levels, text ? "some text" : ""));
            Ac_infile_wt reader(path);
            ASSERT_TRUE(reader.open()) << reader.error_message;
            EXPECT_EQ(reader.list_waves(),
                      (std::vector<std::string>{"0 frame#1", "1 frame#2", "2 frame#3"}));
            // Out of order: each wave is sought, not read after the last.
            for (const std::uint32_t k : {2u, 0u, 1u}) {
                ASSERT_TRUE(reader.select_wave(k));
                ASSERT_TRUE(reader.read()) << reader.error_message;
                ASSERT_EQ(reader.data_size, 16u);
                for (std::size_t j = 0; j < 16; ++j)
                    ASSERT_EQ(reader.data[j], levels[k * 16 + j] / divisor)
                        << "wave " << k << " sample " << j;
            }
        }
}

TEST_F(Infile_wt, TheHeaderDecidesTheWaveSizeAndFlagsBeyondTheCodingDoNotCount)
{
    struct Case {
        std::uint32_t size;
        std::uint16_t flags;
    };
    // 65536 is the longest wave; flags 1 and 2 mark a sample, read all the same.
    const Case cases[] = {{1, 0x0000}, {65536, 0x0004}, {4, 0x0003}, {4, 0x00EE}};
    for (const Case& c : cases) {
        const std::vector<int> levels = wt_levels(1, c.size);
        const std::string path = folder.write("s" + std::to_string(c.size) + "-" +
                                                  std::to_string(c.flags) + ".wt",
                                              wt_bytes(c.size, 1, c.flags, levels));
        Ac_infile_wt reader(path);
        reader.select_wave_size(2);
        ASSERT_TRUE(reader.open()) << reader.error_message;
        EXPECT_EQ(reader.list_waves(), std::vector<std::string>{"0 frame#1"});
        ASSERT_TRUE(reader.read()) << reader.error_message;
        ASSERT_EQ(reader.data_size, c.size);
        const double divisor = (c.flags & 0x0C) == 0x04 ? 16384.0 : 32768.0;
        EXPECT_EQ(reader.data[c.size - 1], levels.back() / divisor);
    }
}

TEST_F(Infile_wt, RefusesAFileNamingItWhenItOpens)
{
    const std::string header_of_two = wt_bytes(4, 2, 0x0004, {});
    struct Case {
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {"VAWT" + header_of_two.substr(4) + std::string(16, '\0'), " is not a .wt wavetable."},
        {"RIFF" + std::string(40, '\0'), " is not a .wt wavetable."},
        {header_of_two.substr(0, 11), " is not a .wt wavetable."},
        {"", " is not a .wt wavetable."},
        {wt_bytes(0, 2, 0x0004, {}), " holds waves of 0 samples; a .wt wave holds 1 to 65536."},
        {wt_bytes(65537, 1, 0x0004, std::vector<int>(65537)),
         " holds waves of 65537 samples; a .wt wave holds 1 to 65536."},
        {wt_bytes(4, 0, 0x0004, {}), " holds no wave."},
        // One byte short of the second wave, though a text block might hide it.
        {wt_bytes(4, 2, 0x0004, wt_levels(2, 4)).substr(0, 27),
         " is cut short: its header promises 2 waves of 4 samples."},
        {wt_bytes(4, 2, 0x0000, wt_levels(1, 4), "some text!"),
         " is cut short: its header promises 2 waves of 4 samples."},
        {wt_bytes(4, 2, 0x0004, wt_levels(2, 4)), " has no wave 2; its waves are numbered 0 to 1."},
    };
    int files = 0;
    for (const Case& c : cases) {
        const std::string path = folder.write("r" + std::to_string(files++) + ".wt", c.bytes);
        Ac_infile_wt reader(path);
        reader.select_wave(2);
        EXPECT_FALSE(reader.open());
        EXPECT_FALSE(reader.ok);
        EXPECT_FALSE(reader.is_open);
        EXPECT_EQ(reader.error_message, path + c.message);
        EXPECT_FALSE(reader.read());
    }
}

}  // namespace
}  // namespace Vemo::testing
