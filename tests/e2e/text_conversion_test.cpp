// Conversions between text files, end to end: each of the four type pairs,
// with the size, threshold and sample rate options reaching the stages.

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"

namespace Vemo::testing {
namespace {

using Text_conversion = Program_test;

TEST_F(Text_conversion, EveryTypePairTakesItsOptions)
{
    folder.write("saw.txt", values_text(sine_cycle(64, saw_amplitudes(20))));
    folder.write("spectrum.txt", "0\n1\n0.05\n");
    folder.write("amplitudes.txt", "2\n-3\n0.4\n4\n");
    // The saw's harmonics fall as 1/h; from the 17th on they are below 0.06.
    std::vector<double> saw_spectrum = saw_amplitudes(16);
    saw_spectrum.resize(24, 0.0);
    struct Case {
        std::vector<std::string> arguments;
        unsigned sample_rate;
        std::vector<double> expected;
        double tolerance;
    };
    const Case cases[] = {
        {{"-i", "saw.txt", "-t", "wave", "-T", "harm", "-s", "24", "-z", "0.06"},
         44100, saw_spectrum, 1e-6},
        {{"-i", "spectrum.txt", "-t", "harm", "-T", "wave", "-s", "8", "-z", "0.1", "-r", "48000"},
         48000, {0, 1, 0, -1, 0, 1, 0, -1}, 1e-15},
        {{"-i", "saw.txt", "-t", "wave", "-T", "wave", "-s", "128", "-r", "22050"},
         22050, sine_cycle(128, saw_amplitudes(20)), 1e-5},
        {{"-i", "amplitudes.txt", "-t", "harm", "-T", "harm", "-s", "3", "-z", "0.5"},
         44100, {2, -3, 0}, 0.0},
    };
    for (const Case& c : cases) {
        const std::string output = c.arguments[3] + "-to-" + c.arguments[5] + ".txt";
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-o", output});
        const Program_result result = run(arguments);
        EXPECT_EQ(result.exit_status, 0) << output;
        EXPECT_EQ(result.standard_output,
                  success_report(c.arguments[1], output, c.expected.size(), c.sample_rate));
        const std::vector<double> values = read_values(folder.path(output));
        ASSERT_EQ(values.size(), c.expected.size()) << output;
        for (std::size_t j = 0; j < values.size(); ++j)
            EXPECT_NEAR(values[j], c.expected[j], c.tolerance) << output << " value " << j;
    }
}

}  // namespace
}  // namespace Vemo::testing
