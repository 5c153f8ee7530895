// The .wt writer: the bytes of a written table, and the tables and values
// it refuses before anything is written.

#include "outfile/ac_outfile_wt.hpp"
#include "support/temp_folder.hpp"
#include "support/wt_bytes.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace Vemo::testing {
namespace {

class Outfile_wt : public ::testing::Test {
protected:
    Temp_folder folder;
    int files = 0;
    std::string next_path() { return folder.path("t" + std::to_string(files++) + ".wt"); }
};

TEST_F(Outfile_wt, WritesTheHeaderThenFullRange16BitLevels)
{
    // Two waves of 4: ties round to even, beyond ±1 is held at the ends.
    const std::vector<double> values = {0.0,          1.0,        -1.0,        0.5,
                                        2.5 / 32767, -1.5 / 32767, 1.25,       -3.0};
    struct Case {
        std::uint64_t waves;
        std::vector<double> values;
        std::vector<int> levels;
    };
    const Case cases[] = {
        {2, values, {0, 32767, -32767, 16384, 2, -2, 32767, -32768}},
        {1, {0.25, -0.25}, {8192, -8192}},
    };
    for (const Case& c : cases) {
        const std::string path = next_path();
        Ac_outfile_wt writer(path);
        ASSERT_TRUE(writer.set_table(c.waves, c.values.size() / c.waves)) << writer.error_message;
        ASSERT_TRUE(writer.open()) << writer.error_message;
        ASSERT_TRUE(writer.set_data(c.values.data(), c.values.size()));
        ASSERT_TRUE(writer.write()) << writer.error_message;
        ASSERT_TRUE(writer.publish()) << writer.error_message;
        EXPECT_EQ(read_file(path),
                  wt_bytes(static_cast<std::uint32_t>(c.values.size() / c.waves),
                           static_cast<std::uint16_t>(c.waves), 0x000C, c.levels));
    }
}

TEST_F(Outfile_wt, RefusesATableTheSynthsWouldNotLoadBeforeItsFileExists)
{
    // The shapes themselves are tried in wt_table_writable's test.
    const std::pair<std::uint64_t, std::uint64_t> cases[] = {{1, 8192}, {1, 3}, {513, 64}};
    for (const auto& [waves, size] : cases) {
        const std::string path = next_path();
        Ac_outfile_wt writer(path);
        EXPECT_FALSE(writer.set_table(waves, size)) << waves << " x " << size;
        EXPECT_EQ(writer.error_message,
                  path + ": a .wt file holds waves of 2 to 4096 samples, a power of two, and at "
                         "most 512 of them.");
        EXPECT_FALSE(writer.open());
        EXPECT_FALSE(file_exists(path));
    }
    for (const auto& [waves, size] : {std::pair{1, 2}, {512, 4096}}) {
        Ac_outfile_wt writer(next_path());
        EXPECT_TRUE(writer.set_table(waves, size)) << waves << " x " << size;
    }
}

TEST_F(Outfile_wt, RefusesValuesItCannotStore)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    const std::string shape = ": a .wt file holds waves of 2 to 4096 samples, a power of two, and "
                              "at most 512 of them.";
    const std::pair<std::vector<double>, std::string> cases[] = {
        {{0.0, nan}, "Can't write a value that is not a finite number to "},
        {{infinity, 0.0, 0.0, 0.0}, "Can't write a value that is not a finite number to "},
        // Without a table the values are one wave, and 3 is no power of two.
        {{0.0, 0.5, 1.0}, ""},
    };
    for (const auto& [values, message] : cases) {
        const std::string path = next_path();
        Ac_outfile_wt writer(path);
        ASSERT_TRUE(writer.open());
        writer.set_data(values.data(), values.size());
        EXPECT_FALSE(writer.write());
        EXPECT_EQ(writer.error_message, message.empty() ? path + shape : message + path + ".");
        writer.close();
        EXPECT_EQ(read_file(path), "") << "nothing is written for refused values";
    }
}

}  // namespace
}  // namespace Vemo::testing
