// Spectra written as Yoshimi scripts, from the command line: the lines of a
// script and the limit of 128 harmonics.

#include "e2e/program_test.hpp"

namespace Vemo::testing {
namespace {

using Yoshimi_scripts = Program_test;

TEST_F(Yoshimi_scripts, WritesOneLinePerAudibleHarmonicUpTo128)
{
    // 31.5 steps round to 32, -15.75 to -16; harmonic 3 is left out.
    const std::string example = "1\n0.5\n0\n-0.25\n";
    // Alternating halves: 31.5 steps round up to 32, -31.5 down to -32; a
    // script names no harmonic beyond 128.
    std::string alternating;
    std::string alternating_script;
    for (int harmonic = 1; harmonic <= 200; ++harmonic) {
        alternating += harmonic % 2 ? "0.5\n" : "-0.5\n";
        if (harmonic <= 128)
            alternating_script += "s ha " + std::to_string(harmonic) + " a " +
                                  (harmonic % 2 ? "96" : "32") + "\n";
    }
    struct Case {
        std::string amplitudes;
        std::uint64_t size;
        std::string script;
    };
    const Case cases[] = {
        {example, 4, "s ha 1 a 127\ns ha 2 a 96\ns ha 4 a 48\n"},
        {alternating, 200, alternating_script},
    };
    for (const Case& c : cases) {
        folder.write("in.txt", c.amplitudes);
        const std::string output = "out" + std::to_string(c.size) + ".ysc";
        const Program_result result =
            run({"-i", "in.txt", "-t", "harm", "-o", output, "-s", std::to_string(c.size)});
        EXPECT_EQ(result.exit_status, 0);
        EXPECT_EQ(result.standard_output, success_report("in.txt", output, c.size));
        EXPECT_EQ(read_file(folder.path(output)), c.script);
    }
}

}  // namespace
}  // namespace Vemo::testing
