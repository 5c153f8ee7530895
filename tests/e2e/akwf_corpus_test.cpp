// Real single-cycle waves that nobody here made (the AKWF collection, CC0;
// see data/akwf/README.md): 600-frame 16-bit WAVs with `smpl` and `acid`
// chunks after the audio. Every mono wave is analysed into a spectrum and
// synthesised back into a 600-sample WAV; the stereo waves are refused.

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"
#include "support/sound_files.hpp"

#include <boost/filesystem.hpp>

#include <algorithm>

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

using Akwf_corpus = Program_test;

TEST_F(Akwf_corpus, EveryMonoWaveGoesToASpectrumAndBackAndStereoIsRefused)
{
    const std::vector<std::string> files = corpus_files();
    ASSERT_EQ(files.size(), 120u) << "the collection in tests/data/akwf is incomplete";
    std::size_t mono_count = 0;
    std::size_t stereo_count = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const Temp_folder here;
        const Sound original = read_sound(file);

        if (original.info.channels != 1) {
            ++stereo_count;
            const Program_result refused =
                run_in(here, {"-i", file, "-o", "spectrum.txt", "-T", "harm", "-s", "64"});
            EXPECT_EQ(refused.exit_status, 1);
            EXPECT_EQ(refused.standard_output,
                      error_report(file + " has more than one audio channel."));
            EXPECT_FALSE(file_exists(here.path("spectrum.txt")));
            continue;
        }
        ++mono_count;
        ASSERT_EQ(original.info.frames, 600);

        const Program_result analysed =
            run_in(here, {"-i", file, "-o", "spectrum.txt", "-T", "harm", "-s", "64"});
        ASSERT_EQ(analysed.exit_status, 0) << analysed.standard_output;
        EXPECT_EQ(analysed.standard_output, "Converting to 44100Hz\n"
                                            "Converted Wave from  file " + file + "\n"
                                            "to wave  file spectrum.txt with 64 samples.\n");
        const std::vector<double> spectrum = read_values(here.path("spectrum.txt"));
        std::vector<double> expected_spectrum = dft_spectrum(original.samples, harmonic_count);
        for (double& amplitude : expected_spectrum)
            amplitude = amplitude < zero_threshold ? 0.0 : amplitude;
        ASSERT_EQ(spectrum.size(), harmonic_count);
        // Six significant digits in the text, and an amplitude at the
        // threshold may fall to either side of it.
        for (std::size_t i = 0; i < harmonic_count; ++i)
            ASSERT_NEAR(spectrum[i], expected_spectrum[i], 2 * zero_threshold) << "harmonic "
                                                                               << i + 1;

        const Program_result synthesised =
            run_in(here, {"-i", "spectrum.txt", "-t", "harm", "-o", "cycle.wav", "-s", "600"});
        ASSERT_EQ(synthesised.exit_status, 0) << synthesised.standard_output;
        const Sound cycle = read_sound(here.path("cycle.wav"));
        EXPECT_EQ(cycle.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
        EXPECT_EQ(cycle.info.channels, 1);
        EXPECT_EQ(cycle.info.samplerate, 44100);
        ASSERT_EQ(cycle.info.frames, 600);
        const std::vector<double> expected_cycle = sine_cycle(600, spectrum);
        for (std::size_t j = 0; j < 600; ++j)
            ASSERT_NEAR(written_value(cycle.samples[j]), expected_cycle[j], 1.0 / 32767)
                << "sample " << j;
    }
    EXPECT_EQ(mono_count, 118u);
    EXPECT_EQ(stereo_count, 2u);
}

}  // namespace
}  // namespace Vemo::testing
