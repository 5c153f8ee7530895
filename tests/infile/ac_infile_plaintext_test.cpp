#include "infile/ac_infile_plaintext.hpp"

#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cmath>
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
