// Real single-cycle waves that nobody here made (the AKWF collection, CC0;
// see data/akwf/README.md): 600-frame 16-bit WAVs with `smpl` and `acid`
// chunks after the audio. Every mono wave is analysed into a spectrum and
// synthesised back into a 600-sample WAV; the stereo waves are refused.

#include "e2e/run_program.hpp"
#include "e2e/sound_files.hpp"
#include "support/temp_folder.hpp"

#include <boost/filesystem.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace Vemo::testing {
namespace {

namespace fs = boost::filesystem;

constexpr std::size_t harmonic_count = 64;
constexpr double zero_threshold = 1e-5;

/// Every WAV of the collection, in a fixed order.
std::vector<std::string> corpus_files()
{
    std::vector<std::string> files;
    for (const fs::directory_entry& entry :
         fs::recursive_directory_iterator(TONALITH_TEST_DATA "/akwf"))
        if (entry.path().extension() == ".wav")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

/// The spectrum of `cycle` worked out here by the plain DFT sum: magnitudes
/// of harmonics 1 to `count`, scaled to the strongest, tiny ones set to 0.
std::vector<double> plain_spectrum(const std::vector<double>& cycle, std::size_t count)
{
    const std::size_t n = cycle.size();
    const double two_pi = 6.283185307179586;
    std::vector<double> spectrum(count);
    for (std::size_t h = 1; h <= count; ++h) {
        double real = 0.0;
        double imaginary = 0.0;
        for (std::size_t j = 0; j < n; ++j) {
            const double angle = two_pi * static_cast<double>(h * j % n) / static_cast<double>(n);
            real += cycle[j] * std::cos(angle);
            imaginary -= cycle[j] * std::sin(angle);
        }
        spectrum[h - 1] = std::hypot(real, imaginary);
    }
    const double peak = *std::max_element(spectrum.begin(), spectrum.end());
    for (double& amplitude : spectrum)
        amplitude = amplitude / peak < zero_threshold ? 0.0 : amplitude / peak;
    return spectrum;
}

/// The cycle that `spectrum` gives: sines in phase zero, scaled to a peak of 1.
std::vector<double> synthesised_cycle(const std::vector<double>& spectrum, std::size_t frames)
{
    std::vector<double> cycle = harmonic_cycle(frames, spectrum);
    double peak = 0.0;
    for (double value : cycle)
        peak = std::max(peak, std::fabs(value));
    for (double& value : cycle)
        value /= peak;
    return cycle;
}

TEST(Akwf_corpus, EveryMonoWaveGoesToASpectrumAndBackAndStereoIsRefused)
{
    const std::vector<std::string> files = corpus_files();
    ASSERT_EQ(files.size(), 120u) << "the collection in tests/data/akwf is incomplete";
    std::size_t mono_count = 0;
    std::size_t stereo_count = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const Temp_folder folder;
        const Sound original = read_sound(file);

        if (original.info.channels != 1) {
            ++stereo_count;
            const Program_result refused =
                run_program({"-i", file, "-o", "spectrum.txt", "-T", "harm", "-s", "64"},
                            folder.root);
            EXPECT_EQ(refused.standard_error, "");
            EXPECT_EQ(refused.exit_status, 1);
            EXPECT_EQ(refused.standard_output,
                      error_report(file + " has more than one audio channel."));
            EXPECT_FALSE(file_exists(folder.path("spectrum.txt")));
            continue;
        }
        ++mono_count;
        ASSERT_EQ(original.info.frames, 600);

        const Program_result analysed = run_program(
            {"-i", file, "-o", "spectrum.txt", "-T", "harm", "-s", "64"}, folder.root);
        EXPECT_EQ(analysed.standard_error, "");
        ASSERT_EQ(analysed.exit_status, 0) << analysed.standard_output;
        EXPECT_EQ(analysed.standard_output, "Converting to 44100Hz\n"
                                            "Converted Wave from  file " + file + "\n"
                                            "to wave  file spectrum.txt with 64 samples.\n");
        const std::vector<double> spectrum = read_values(folder.path("spectrum.txt"));
        const std::vector<double> expected_spectrum =
            plain_spectrum(original.samples, harmonic_count);
        ASSERT_EQ(spectrum.size(), harmonic_count);
        // Six significant digits in the text, and an amplitude at the
        // threshold may fall to either side of it.
        for (std::size_t i = 0; i < harmonic_count; ++i)
            ASSERT_NEAR(spectrum[i], expected_spectrum[i], 2 * zero_threshold) << "harmonic "
                                                                               << i + 1;

        const Program_result synthesised = run_program(
            {"-i", "spectrum.txt", "-t", "harm", "-o", "cycle.wav", "-s", "600"}, folder.root);
        EXPECT_EQ(synthesised.standard_error, "");
        ASSERT_EQ(synthesised.exit_status, 0) << synthesised.standard_output;
        const Sound cycle = read_sound(folder.path("cycle.wav"));
        EXPECT_EQ(cycle.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        EXPECT_EQ(cycle.info.channels, 1);
        EXPECT_EQ(cycle.info.samplerate, 44100);
        ASSERT_EQ(cycle.info.frames, 600);
        const std::vector<double> expected_cycle = synthesised_cycle(spectrum, 600);
        for (std::size_t j = 0; j < 600; ++j)
            ASSERT_NEAR(written_value(cycle.samples[j]), expected_cycle[j], 1.0 / 32767)
                << "sample " << j;
    }
    EXPECT_EQ(mono_count, 118u);
    EXPECT_EQ(stereo_count, 2u);
}

}  // namespace
}  // namespace Vemo::testing
