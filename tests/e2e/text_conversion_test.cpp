// Conversions between text files: all four type pairs, end to end.

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"

#include <cmath>

namespace Vemo::testing {
namespace {

using Text_conversion = Program_test;

/// One cycle of a band-limited saw of `harmonics` harmonics, 1/h each.
std::vector<double> saw(int samples, int harmonics)
{
    return sine_cycle(samples, saw_amplitudes(harmonics));
}

TEST_F(Text_conversion, WaveToSpectrumGivesTheSawsHarmonicSeries)
{
    folder.write("saw.txt", values_text(saw(64, 20)));
    const Program_result result =
        run({"-i", "saw.txt", "-t", "wave", "-o", "saw-spectrum.txt", "-T", "harm", "-s", "24"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_output, success_report("saw.txt", "saw-spectrum.txt", 24));
    EXPECT_EQ(read_file(folder.path("saw-spectrum.txt")),
              "1\n0.5\n0.333333\n0.25\n0.2\n0.166667\n0.142857\n0.125\n0.111111\n0.1\n"
              "0.0909091\n0.0833333\n0.0769231\n0.0714286\n0.0666667\n0.0625\n0.0588235\n"
              "0.0555556\n0.0526316\n0.05\n0\n0\n0\n0");
}

TEST_F(Text_conversion, SpectrumToWaveSumsSinesAndNormalises)
{
    folder.write("spectrum.txt", "0\n1\n");
    const Program_result result = run({"-i", "spectrum.txt", "-t", "harm", "-o", "wave.txt",
                                       "-T", "wave", "-s", "8", "-r", "48000"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_output, success_report("spectrum.txt", "wave.txt", 8, 48000));
    const std::vector<double> wave = read_values(folder.path("wave.txt"));
    const std::vector<double> expected{0, 1, 0, -1, 0, 1, 0, -1};
    ASSERT_EQ(wave.size(), expected.size());
    for (std::size_t j = 0; j < wave.size(); ++j)
        EXPECT_NEAR(wave[j], expected[j], 1e-15) << j;
}

TEST_F(Text_conversion, WaveToWaveKeepsTheShapeOfTheCycle)
{
    folder.write("saw.txt", values_text(saw(64, 20)));
    const Program_result result =
        run({"-i", "saw.txt", "-t", "wave", "-o", "saw128.txt", "-T", "wave", "-s", "128"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_output, success_report("saw.txt", "saw128.txt", 128));
    const std::vector<double> ideal = saw(128, 20);
    const double peak = peak_of_values(ideal);
    const std::vector<double> wave = read_values(folder.path("saw128.txt"));
    ASSERT_EQ(wave.size(), 128u);
    for (std::size_t j = 0; j < wave.size(); ++j)
        EXPECT_NEAR(wave[j], ideal[j] / peak, 1e-5) << j;
}

TEST_F(Text_conversion, SpectrumToSpectrumTruncatesWithoutNormalising)
{
    folder.write("spectrum.txt", "2\n-3\n0.00001\n4\n");
    const Program_result result =
        run({"-i", "spectrum.txt", "-t", "harm", "-o", "out.txt", "-T", "harm", "-s", "3"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_output, success_report("spectrum.txt", "out.txt", 3));
    EXPECT_EQ(read_file(folder.path("out.txt")), "2\n-3\n0");
}

TEST_F(Text_conversion, SilenceStaysSilentInEveryPair)
{
    folder.write("silence.txt", "0\n0\n0\n0\n0\n0\n0\n0\n");
    const std::pair<std::string, std::string> pairs[] = {
        {"wave", "harm"}, {"harm", "wave"}, {"wave", "wave"}, {"harm", "harm"}};
    for (const auto& [from, to] : pairs) {
        const std::string output = from + "-" + to + ".txt";
        const Program_result result =
            run({"-i", "silence.txt", "-t", from, "-o", output, "-T", to, "-s", "4"});
        EXPECT_EQ(result.exit_status, 0) << output;
        EXPECT_EQ(read_file(folder.path(output)), "0\n0\n0\n0") << output;
    }
}

TEST_F(Text_conversion, ThresholdOptionSilencesWeakHarmonics)
{
    folder.write("spectrum.txt", "1\n0.05\n0.1\n");
    const Program_result result = run({"-i", "spectrum.txt", "-t", "harm", "-o", "out.txt", "-T",
                                       "harm", "-s", "3", "-z", "0.05"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(read_file(folder.path("out.txt")), "1\n0\n0.1");
}

}  // namespace
}  // namespace Vemo::testing
