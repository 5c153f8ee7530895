// Function tables that a real Csound wrote with ftsave and ftsavek, read by
// the program and checked value by value: against the value lines of the
// file, and against the GEN10 formula of the .csd source that made them
// (sines summed and scaled to a peak of 1).

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"

#include <cstdlib>
#include <sstream>

namespace Vemo::testing {
namespace {

const std::string header_end = "---------END OF HEADER--------------";

/// Csound prints values with six decimals, so each lies within half a unit
/// of the sixth decimal of the exact table value.
constexpr double print_rounding = 0.5e-6 + 1e-12;

/// The numbers of the value lines that follow the first header of a table
/// file, guard point and all, up to the next line that is not a number.
std::vector<double> value_lines(const std::string& content)
{
    std::istringstream lines(content);
    std::string line;
    while (std::getline(lines, line) && line != header_end) {
    }
    std::vector<double> values;
    while (std::getline(lines, line)) {
        char* end = nullptr;
        const double value = std::strtod(line.c_str(), &end);
        if (end == line.c_str())
            break;
        values.push_back(value);
    }
    return values;
}

std::string fixture(const std::string& name)
{
    return read_file(std::string(TONALITH_TEST_DATA) + "/csound/" + name);
}

class Csound_tables : public Program_test {
protected:
    /// Copies the fixture into the test folder, so messages name it briefly.
    void copy_fixture(const std::string& name) { folder.write(name, fixture(name)); }

    /// Reads `table` and hands its values on unchanged (as a spectrum of
    /// `size` harmonics with no zero threshold); returns them from the text
    /// output, whose six significant digits hold every printed value exactly.
    std::vector<double> values_passed_on(const std::string& table, std::size_t size)
    {
        copy_fixture(table);
        const std::string output = table + ".txt";
        const Program_result result = run(
            {"-i", table, "-t", "harm", "-o", output, "-T", "harm", "-s", std::to_string(size),
             "-z", "0"});
        EXPECT_EQ(result.exit_status, 0) << result.standard_output;
        EXPECT_EQ(result.standard_output, success_report(table, output, size));
        return read_values(folder.path(output));
    }
};

TEST_F(Csound_tables, ReadsEveryFixtureValueByValue)
{
    // Each table is read as a spectrum of `size` values and compared with the
    // value lines of `lines_of` but its guard point, the last of them; where
    // `size` is larger, the guard point must not have been taken.
    struct Case {
        std::string table;
        std::size_t size;
        std::string lines_of;
        std::vector<double> gen10_amplitudes;
    };
    const Case cases[] = {
        {"wave64.ftable", 64, "wave64.ftable", {1, 0.5, 0.333333, 0.25}},
        {"wave2048.ftable",
         2048,
         "wave2048.ftable",
         {1, 0.5, 0.333333, 0.25, 0.2, 0.166667, 0.142857, 0.125, 0.111111, 0.1, 0.090909,
          0.083333, 0.076923, 0.071429, 0.066667, 0.0625}},
        {"wave600.ftable", 600, "wave600.ftable", {1, 0, 0.333333, 0, 0.2}},
        {"wave4096.ftable", 4096, "wave4096.ftable", {1, 0.5}},
        {"wave256_ftsavek.ftable", 256, "wave256_ftsavek.ftable", {1, 0.5, 0.25}},
        // A GEN -2 spectrum of 16 values; its 17th line is the guard point 1.
        {"harm16.ftable", 17, "harm16.ftable", {}},
        {"two_tables.ftable", 65, "wave64.ftable", {}},
        {"gen01_mono.ftable", 100, "gen01_mono.ftable", {}},
        {"wave64_crlf.ftable", 64, "wave64.ftable", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        const std::vector<double> values = values_passed_on(c.table, c.size);
        std::vector<double> expected = value_lines(fixture(c.lines_of));
        ASSERT_GE(expected.size(), 2u);
        expected.pop_back();
        expected.resize(c.size, 0.0);
        EXPECT_EQ(values, expected);
        if (c.gen10_amplitudes.empty())
            continue;
        const std::vector<double> gen10 = sine_cycle(c.size, c.gen10_amplitudes);
        for (std::size_t i = 0; i < c.size; ++i)
            EXPECT_NEAR(values[i], gen10[i], print_rounding) << "value " << i;
    }
    EXPECT_EQ(value_lines(fixture("harm16.ftable")).back(), 1.0);
    EXPECT_NE(fixture("wave64_crlf.ftable").find("\r\n"), std::string::npos);
}

TEST_F(Csound_tables, ReadsWaveTableAsWave)
{
    // Harmonics 1, 3 and 5 at 1, 0.333333 and 0.2 become 63 steps, 20.99998
    // (rounded to 21) and 12.6 (rounded to 13) above the middle value 64.
    copy_fixture("wave600.ftable");
    const Program_result script =
        run({"-i", "wave600.ftable", "-t", "wave", "-o", "wave600.ysc", "-s", "8"});
    EXPECT_EQ(script.exit_status, 0);
    EXPECT_EQ(script.standard_output, success_report("wave600.ftable", "wave600.ysc", 8));
    EXPECT_EQ(read_file(folder.path("wave600.ysc")), "s ha 1 a 127\ns ha 3 a 85\ns ha 5 a 77\n");
}

TEST_F(Csound_tables, RefusesStereoAndBinaryTables)
{
    struct Case {
        std::string table;
        std::string message;
    };
    const Case cases[] = {
        {"gen01_stereo.ftable", "gen01_stereo.ftablecontains more than one channel."},
        {"wave64_binary.ftable", "wave64_binary.ftable is not a Csound ftsave/ftsavek file."},
    };
    for (const Case& c : cases) {
        copy_fixture(c.table);
        const Program_result result =
            run({"-i", c.table, "-t", "wave", "-o", "out.txt", "-T", "harm", "-s", "8"});
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_output, error_report(c.message));
        EXPECT_FALSE(file_exists(folder.path("out.txt"))) << "a failed run leaves no output";
    }
}

}  // namespace
}  // namespace Vemo::testing
