// The wave dump reader: finding the messages of a file, naming them, and
// reading one as a full cycle.

#include "infile/ac_infile_mw2.hpp"
#include "support/temp_folder.hpp"
#include "support/wave_dump_bytes.hpp"

#include <gtest/gtest.h>

namespace Vemo::testing {
namespace {

class Infile_mw2 : public ::testing::Test {
protected:
    Temp_folder folder;
};

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

}  // namespace
}  // namespace Vemo::testing
