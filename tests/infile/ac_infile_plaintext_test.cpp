#include "infile/ac_infile_plaintext.hpp"

#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace Vemo {
namespace {

using testing::Temp_folder;

TEST(Ac_infile_plaintext, ReadsOneNumberPerLine)
{
    struct Case {
        std::string content;
        std::vector<double> values;
    };
    const Case cases[] = {
        {"", {}},
        {"1\n\n2\n", {1, 2}},
        {"0.25", {0.25}},
        {"  -2.5e1   \n", {-25}},
        {"0x1p-1\n", {0.5}},
        {"1,5\n", {1}},
        {"0.5 dB\n", {0.5}},
        {"1\r\n2\r\n", {1, 2}},
        {"1\n \t\n\r\n2\n", {1, 2}},
        {"1e-320\n", {1e-320}},
        {"1e-400\n", {0.0}},
    };
    for (const Case& c : cases) {
        Temp_folder folder;
        Ac_infile_plaintext reader(folder.write("in.txt", c.content));
        ASSERT_TRUE(reader.open());
        ASSERT_TRUE(reader.read()) << reader.error_message;
        EXPECT_EQ(std::vector<double>(reader.data.get(), reader.data.get() + reader.data_size),
                  c.values)
            << c.content;
    }
}

TEST(Ac_infile_plaintext, ANumberMayBeWrittenWithUpTo4096Characters)
{
    const auto zeros = [](std::size_t count) { return std::string(count, '0'); };
    const std::string long_rest = " dB" + std::string(10000, ' ') + "x";
    struct Case {
        std::string line;
        bool read;
        double value;
    };
    const Case cases[] = {
        {"1." + zeros(4094), true, 1.0},
        {"1." + zeros(4094) + long_rest, true, 1.0},
        {"1." + zeros(4092) + "e1" + long_rest, true, 10.0},
        {"0x1." + zeros(4090) + "p1" + long_rest, true, 2.0},
        {std::string(10000, ' ') + "2.5" + long_rest, true, 2.5},
        {"1." + zeros(4095), false, 0},
        {"1." + zeros(4093) + "e1", false, 0},
        // The start kept ends in the exponent's letter or sign.
        {"1." + zeros(4094) + "e5" + long_rest, false, 0},
        {"1." + zeros(4093) + "e+5" + long_rest, false, 0},
        {"0x1." + zeros(4092) + "p3" + long_rest, false, 0},
        {"nan(" + std::string(5000, 'a') + ")", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 12) + "... of " + std::to_string(c.line.size()));
        Temp_folder folder;
        Ac_infile_plaintext reader(folder.write("in.txt", c.line + "\n7\n"));
        EXPECT_EQ(reader.open() && reader.read(), c.read);
        if (c.read) {
            ASSERT_EQ(reader.data_size, 2u);
            EXPECT_EQ(reader.data[0], c.value);
        } else {
            EXPECT_EQ(reader.error_message, folder.path("in.txt") + ": line 1 does not hold a number.");
        }
    }
}

TEST(Ac_infile_plaintext, InfinityAndNotANumberAreReadAsWritten)
{
    Temp_folder folder;
    Ac_infile_plaintext reader(folder.write("in.txt", "inf\n-infinity\nnan\n"));
    ASSERT_TRUE(reader.open());
    ASSERT_TRUE(reader.read());
    ASSERT_EQ(reader.data_size, 3u);
    EXPECT_EQ(reader.data[0], INFINITY);
    EXPECT_EQ(reader.data[1], -INFINITY);
    EXPECT_TRUE(std::isnan(reader.data[2]));
}

}  // namespace
}  // namespace Vemo
