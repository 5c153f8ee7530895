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

}  // namespace
}  // namespace Vemo::testing
