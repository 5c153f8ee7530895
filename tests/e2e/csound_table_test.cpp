// Function tables that a real Csound wrote with ftsave and ftsavek, read by
// the program and checked value by value: against the GEN10 formula of the
// .csd source that made them (GEN10 sums sines and scales them to a peak of 1), and against the value lines of the file.

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"

#include <algorithm>
#include <cmath>
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

TEST_F(Csound_tables, ReadsEveryGen10WaveValueByValue)
{
    struct Case {
        std::string table;
        std::size_t size;
        std::vector<double> amplitudes;
    };
    const Case cases[] = {
        {"wave64.ftable", 64, {1, 0.5, 0.333333, 0.25}},
        {"wave2048.ftable",
         2048,
         {1, 0.5, 0.333333, 0.25, 0.2, 0.166667, 0.142857, 0.125, 0.111111, 0.1, 0.090909,
          0.083333, 0.076923, 0.071429, 0.066667, 0.0625}},
        {"wave600.ftable", 600, {1, 0, 0.333333, 0, 0.2}},
        {"wave4096.ftable", 4096, {1, 0.5}},
        {"wave256_ftsavek.ftable", 256, {1, 0.5, 0.25}},
    };
    for (const Case& c : cases) {
        const std::vector<double> values = values_passed_on(c.table, c.size);
        const std::vector<double> expected = sine_cycle(c.size, c.amplitudes);
        const std::vector<double> lines = value_lines(fixture(c.table));
        ASSERT_EQ(values.size(), c.size) << c.table;
        ASSERT_EQ(lines.size(), c.size + 1) << c.table << " holds a guard point";
        EXPECT_EQ(values[0], 0.0) << c.table;
        for (std::size_t i = 0; i < c.size; ++i) {
            EXPECT_NEAR(values[i], expected[i], print_rounding) << c.table << " value " << i;
            EXPECT_EQ(values[i], lines[i]) << c.table << " value " << i;
        }
    }
}

TEST_F(Csound_tables, ReadsSpectrumWithoutItsGuardPoint)
{
    const std::vector<double> amplitudes = {
        1,        0.5,      0.333333, 0.25,     0.2,      0.166667, 0.142857, 0.125,
        0.111111, 0.1,      0.090909, 0.083333, 0.076923, 0.071429, 0.066667, 0.0625};
    // Asking for one harmonic more shows whether the 17th line, the guard
    // point 1.000000, was taken: it must come out as a silent harmonic.
    std::vector<double> expected = amplitudes;
    expected.push_back(0.0);
    EXPECT_EQ(values_passed_on("harm16.ftable", 17), expected);
    EXPECT_EQ(value_lines(fixture("harm16.ftable")).back(), 1.0);
}

TEST_F(Csound_tables, ReadsOnlyTheFirstOfTwoTables)
{
    const std::vector<double> values = values_passed_on("two_tables.ftable", 65);
    std::vector<double> first_table = value_lines(fixture("wave64.ftable"));
    ASSERT_EQ(first_table.size(), 65u);
    first_table.back() = 0.0;  // the guard point is not read; the 65th harmonic is silent
    EXPECT_EQ(values, first_table);
}

TEST_F(Csound_tables, ReadsGen01TableAsItsLines)
{
    const std::vector<double> values = values_passed_on("gen01_mono.ftable", 100);
    std::vector<double> lines = value_lines(fixture("gen01_mono.ftable"));
    ASSERT_EQ(lines.size(), 101u);
    lines.pop_back();
    EXPECT_EQ(values, lines);
    double peak = 0.0;
    for (double value : values)
        peak = std::max(peak, std::fabs(value));
    EXPECT_EQ(peak, 1.0);
}

TEST_F(Csound_tables, ReadsCrlfCopyLikeTheOriginal)
{
    EXPECT_EQ(values_passed_on("wave64_crlf.ftable", 64), values_passed_on("wave64.ftable", 64));
    EXPECT_EQ(read_file(folder.path("wave64_crlf.ftable.txt")),
              read_file(folder.path("wave64.ftable.txt")));
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

    copy_fixture("wave64.ftable");
    const Program_result spectrum =
        run({"-i", "wave64.ftable", "-t", "wave", "-o", "wave64.txt", "-T", "harm", "-s", "8"});
    EXPECT_EQ(spectrum.exit_status, 0);
    const std::vector<double> harmonics = read_values(folder.path("wave64.txt"));
    const std::vector<double> expected = {1, 0.5, 0.333333, 0.25, 0, 0, 0, 0};
    ASSERT_EQ(harmonics.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(harmonics[i], expected[i], 1e-5) << "harmonic " << i + 1;
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

TEST_F(Csound_tables, ReportsCorruptTables)
{
    const std::string start = "======= TABLE 1 size: 4 values ======\n";
    struct Case {
        std::string content;
        std::string message;
    };
    const Case cases[] = {
        {start + "flenfrms: 4\n", "t.ftable is corrupt, the header does not end."},
        {start + "flenfrms: -1\n" + header_end + "\n",
         "t.ftable is corrupt, the table length is not valid."},
        {start + "flenfrms: 99999999999\n" + header_end + "\n0.5\n",
         "t.ftable is corrupt, there are not enough values."},
        {start + "flenfrms: 2\n" + header_end + "\n0.5\n---\n",
         "t.ftable is corrupt, line 5 does not hold a number."},
    };
    for (const Case& c : cases) {
        folder.write("t.ftable", c.content);
        const Program_result result =
            run({"-i", "t.ftable", "-t", "harm", "-o", "out.txt", "-T", "harm", "-s", "2"});
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_output, error_report(c.message));
        EXPECT_FALSE(file_exists(folder.path("out.txt")));
    }
}

}  // namespace
}  // namespace Vemo::testing
