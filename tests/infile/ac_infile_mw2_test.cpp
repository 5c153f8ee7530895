// The wave dump reader: finding the messages of a file, naming them, and
// reading one as a full cycle.

#include "infile/ac_infile_mw2.hpp"
#include "support/temp_folder.hpp"
#include "support/wave_dump_bytes.hpp"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace Vemo::testing {
namespace {

class Infile_mw2 : public ::testing::Test {
protected:
    Temp_folder folder;
};

TEST_F(Infile_mw2, FindsEveryWaveDumpAmongOtherMessages)
{
    std::vector<int> zero_bytes(64, 0x00);
    const std::string path = folder.write(
        "bank.syx", other_mw2_message + silent_wave_dump(1000) + other_sysex +
                        silent_wave_dump(0, 0x00) + "\x01\x02" + wave_dump(344, zero_bytes) +
                        other_sysex + wave_dump(16383, one_harmonic_codes, 0x10));
    Ac_infile_mw2 reader(path);
    EXPECT_EQ(reader.wave_count(), 0u) << "nothing is known before open";
    ASSERT_TRUE(reader.open()) << reader.error_message;
    EXPECT_EQ(reader.wave_count(), 4u);
    EXPECT_EQ(reader.list_waves(),
              (std::vector<std::string>{"0 USER#1", "1 ROM#1", "2 illegal#344", "3 USER#15384"}));
}

TEST_F(Infile_mw2, LeavesOutAMessageCutOffBeforeItsLastSampleByte)
{
    const std::string whole = silent_wave_dump(1000);
    struct Case {
        std::size_t kept_of_last;
        std::uint32_t count;
    };
    // The last message needs its bytes up to offset 134; check byte and F7
    // may be missing.
    const Case cases[] = {{7, 1}, {134, 1}, {135, 2}, {136, 2}, {137, 2}};
    for (const Case& c : cases) {
        const std::string path = folder.write("cut" + std::to_string(c.kept_of_last) + ".syx",
                                              whole + whole.substr(0, c.kept_of_last));
        Ac_infile_mw2 reader(path);
        ASSERT_TRUE(reader.open());
        EXPECT_EQ(reader.wave_count(), c.count) << c.kept_of_last << " bytes kept";
        EXPECT_EQ(reader.list_waves().size(), c.count);
        ASSERT_TRUE(reader.select_wave(c.count - 1));
        EXPECT_TRUE(reader.read());
        EXPECT_EQ(reader.data_size, 128u);
    }
}

TEST_F(Infile_mw2, RefusesFilesWithoutWaveDumps)
{
    struct Case {
        std::string name;
        std::string bytes;
    };
    const Case cases[] = {
        {"short.syx", std::string("\xF0\x3E\x0E", 3)},
        {"empty.syx", ""},
        {"nodump.syx", std::string("\xF0\x3E\x0E\x00", 4)},
        {"other.syx", other_mw2_message + other_sysex},
        {"later.syx", other_sysex + silent_wave_dump(1000)},
        {"cut.syx", silent_wave_dump(1000).substr(0, 134)},
    };
    for (const Case& c : cases) {
        const std::string path = folder.write(c.name, c.bytes);
        Ac_infile_mw2 reader(path);
        EXPECT_FALSE(reader.open()) << c.name;
        EXPECT_FALSE(reader.ok);
        EXPECT_FALSE(reader.is_open);
        EXPECT_EQ(reader.error_message,
                  path + " does not contain valid Microwave II/XT waveforms.");
        EXPECT_TRUE(reader.list_waves().empty());
    }
}

TEST_F(Infile_mw2, ReadsTheSelectedWaveAsAFullCycle)
{
    std::vector<int> codes(64, 0x80);
    codes[0] = 0xFF;
    codes[1] = 0x00;
    const std::string path =
        folder.write("two.syx", silent_wave_dump(1000) + other_sysex + wave_dump(0, codes));
    Ac_infile_mw2 reader(path);
    ASSERT_TRUE(reader.select_wave(1));
    ASSERT_TRUE(reader.open());
    ASSERT_TRUE(reader.read());
    ASSERT_EQ(reader.data_size, 128u);
    EXPECT_EQ(reader.data[0], 127.0);
    EXPECT_EQ(reader.data[127], -127.0);
    EXPECT_EQ(reader.data[1], -128.0);
    EXPECT_EQ(reader.data[126], 128.0);
    for (std::size_t k = 2; k < 126; ++k)
        EXPECT_EQ(reader.data[k], 0.0) << k;
}

TEST_F(Infile_mw2, ReadsTheFirstWaveWithoutASelection)
{
    const std::string path =
        folder.write("two.syx", wave_dump(1000, one_harmonic_codes) + silent_wave_dump(1001));
    Ac_infile_mw2 reader(path);
    ASSERT_TRUE(reader.open());
    ASSERT_TRUE(reader.read());
    ASSERT_EQ(reader.data_size, 128u);
    EXPECT_EQ(reader.data[0], 3.0);
    EXPECT_EQ(reader.data[31], 127.0);
    EXPECT_EQ(reader.data[127], -3.0);
}

TEST_F(Infile_mw2, NamesTheWavesThereAreWhenTheSelectionIsBeyondThem)
{
    const std::string path = folder.write("two.syx", silent_wave_dump(1000) + silent_wave_dump(1));
    for (std::uint32_t n : {2u, 4294967295u}) {
        Ac_infile_mw2 reader(path);
        ASSERT_TRUE(reader.select_wave(n));
        ASSERT_TRUE(reader.open());
        EXPECT_FALSE(reader.read());
        EXPECT_EQ(reader.error_message, path + " has no wave " + std::to_string(n) +
                                            "; its waves are numbered 0 to 1.");
        EXPECT_FALSE(reader.data);
    }
}

TEST_F(Infile_mw2, DeliversNothingAfterClose)
{
    const std::string path = folder.write("one.syx", silent_wave_dump(1000));
    Ac_infile_mw2 reader(path);
    EXPECT_FALSE(reader.read()) << "nothing to read before open";
    ASSERT_TRUE(reader.open());
    reader.close();
    EXPECT_FALSE(reader.read());
    EXPECT_TRUE(reader.list_waves().empty());
    EXPECT_EQ(reader.error_message, "");
}

TEST_F(Infile_mw2, KeepsTheFileCheckMessage)
{
    Ac_infile_mw2 missing(folder.path("missing.syx"));
    EXPECT_FALSE(missing.open());
    EXPECT_EQ(missing.error_message, folder.path("missing.syx") + " does not exist.");
    Ac_infile_mw2 folder_itself(folder.root);
    EXPECT_FALSE(folder_itself.open());
    EXPECT_EQ(folder_itself.error_message, folder.root + " is not a file.");
}

TEST_F(Infile_mw2, ReportsAnUnreadableFile)
{
    const std::string path = folder.write("locked.syx", silent_wave_dump(1000));
    ASSERT_EQ(::chmod(path.c_str(), 0), 0);
    Ac_infile_mw2 reader(path);
    if (reader.open())
        GTEST_SKIP() << "files stay readable for this user";
    EXPECT_EQ(reader.error_message, "Can't open file " + path + ": unknown error.");
}

}  // namespace
}  // namespace Vemo::testing
