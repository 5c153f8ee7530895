// Spectra written as Yoshimi scripts, from the command line: the lines of a
// script, the limit of 128 harmonics, and the house rules for output files.

#include "e2e/program_test.hpp"

#include <unistd.h>

#include <cmath>

namespace Vemo::testing {
namespace {

using Yoshimi_scripts = Program_test;

TEST_F(Yoshimi_scripts, WritesOneLinePerAudibleHarmonic)
{
    // 31.5 steps round to 32, -15.75 to -16; harmonic 3 is left out.
    folder.write("in.txt", "1\n0.5\n0\n-0.25\n");
    const Program_result result = run({"-i", "in.txt", "-t", "harm", "-o", "out.ysc", "-s", "4"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_output, success_report("in.txt", "out.ysc", 4));
    EXPECT_EQ(read_file(folder.path("out.ysc")), "s ha 1 a 127\ns ha 2 a 96\ns ha 4 a 48\n");
}

TEST_F(Yoshimi_scripts, NamesNoHarmonicBeyond128)
{
    // Alternating halves: 31.5 steps round up to 32, -31.5 down to -32.
    std::string amplitudes;
    std::string expected;
    for (int harmonic = 1; harmonic <= 200; ++harmonic) {
        amplitudes += harmonic % 2 ? "0.5\n" : "-0.5\n";
        if (harmonic <= 128)
            expected += "s ha " + std::to_string(harmonic) + " a " +
                        (harmonic % 2 ? "96" : "32") + "\n";
    }
    folder.write("many.txt", amplitudes);
    const Program_result result =
        run({"-i", "many.txt", "-t", "harm", "-o", "many.ysc", "-s", "200"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_output, success_report("many.txt", "many.ysc", 200));
    EXPECT_EQ(read_file(folder.path("many.ysc")), expected);
}

TEST_F(Yoshimi_scripts, NeverOverwritesAnything)
{
    folder.write("in.txt", "1\n");
    folder.write("taken.ysc", "keep");
    ASSERT_EQ(symlink("nowhere.ysc", folder.path("dangling.ysc").c_str()), 0);
    for (const std::string output : {"taken.ysc", "dangling.ysc"}) {
        const Program_result result =
            run({"-i", "in.txt", "-t", "harm", "-o", output, "-s", "1"});
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_output,
                  error_report(output + " already exists and will not be overwritten."));
    }
    EXPECT_EQ(read_file(folder.path("taken.ysc")), "keep");
    EXPECT_FALSE(file_exists(folder.path("nowhere.ysc")));
}

TEST_F(Yoshimi_scripts, FailedRunLeavesNoScript)
{
    folder.write("in.txt", "1\n-1e300\n");
    const Program_result result = run({"-i", "in.txt", "-t", "harm", "-o", "out.ysc", "-s", "2"});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_output,
              "Converting to 44100Hz\n" +
                  error_report("out.ysc: the amplitude of harmonic 2 is too large or not a "
                               "number."));
    EXPECT_FALSE(file_exists(folder.path("out.ysc")));
}

TEST_F(Yoshimi_scripts, ReportsAScriptThatDoesNotFit)
{
    // A file size limit stops the script after 200 bytes.
    std::string amplitudes;
    for (int harmonic = 1; harmonic <= 128; ++harmonic)
        amplitudes += "1\n";
    folder.write("in.txt", amplitudes);
    const Program_result result =
        run({"-i", "in.txt", "-t", "harm", "-o", "out.ysc", "-s", "128"}, 200);

    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_output,
              "Converting to 44100Hz\n" + error_report("Not all data was written to out.ysc"));
    EXPECT_FALSE(file_exists(folder.path("out.ysc")));
}

}  // namespace
}  // namespace Vemo::testing
