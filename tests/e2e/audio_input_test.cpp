// Sound files as input: every encoding libsndfile reads arrives as the same
// cycle, and files that are not one mono cycle of at most 65536 frames are
// refused before any output file is created.

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"
#include "support/sound_files.hpp"

#include <boost/filesystem.hpp>

namespace Vemo::testing {
namespace {

class Audio_input : public Program_test {
protected:
    /// Converts `input` to a spectrum of four harmonics and checks the report.
    std::vector<double> spectrum_of(const std::string& input,
                                    std::vector<std::string> extra_arguments = {})
    {
        std::vector<std::string> arguments{"-i", input, "-o", "spectrum.txt", "-T", "harm",
                                           "-s", "4"};
        arguments.insert(arguments.end(), extra_arguments.begin(), extra_arguments.end());
        const Program_result result = run(arguments);
        EXPECT_EQ(result.exit_status, 0) << input;
        EXPECT_EQ(result.standard_output, "Converting to 44100Hz\n"
                                          "Converted Wave from  file " + input + "\n"
                                          "to wave  file spectrum.txt with 4 samples.\n");
        std::vector<double> spectrum = read_values(folder.path("spectrum.txt"));
        boost::filesystem::remove(folder.path("spectrum.txt"));
        return spectrum;
    }
};

/// Harmonics 1 and 3 at 0.6 and 0.3: the spectrum reads 1, 0, 0.5, 0.
const std::vector<double> two_harmonics{0.6, 0.0, 0.3};

void expect_two_harmonics(const std::vector<double>& spectrum, const std::string& input)
{
    ASSERT_EQ(spectrum.size(), 4u) << input;
    EXPECT_EQ(spectrum[0], 1.0) << input;
    EXPECT_EQ(spectrum[1], 0.0) << input;
    EXPECT_NEAR(spectrum[2], 0.5, 1e-5) << input;
    EXPECT_EQ(spectrum[3], 0.0) << input;
}

TEST_F(Audio_input, ReadsEveryEncodingAsTheSameCycle)
{
    struct Case {
        std::string name;
        int format;
        std::vector<std::string> extra_arguments;
    };
    const Case cases[] = {
        {"cycle.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, {}},
        {"cycle.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, {}},
        {"cycle24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, {}},
        {"cyclefloat.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, {}},
        // Containers without an extension of their own need the format named.
        {"cycle.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, {"-f", "audio"}},
        // libsndfile knows a file by its content, not by its name.
        {"aiff_inside.wav", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, {}},
    };
    for (const Case& c : cases) {
        write_sound(folder.path(c.name), c.format, 1, 22050, sine_cycle(600, two_harmonics));
        expect_two_harmonics(spectrum_of(c.name, c.extra_arguments), c.name);
    }
}

TEST_F(Audio_input, AudioInputIsAlwaysAWave)
{
    write_sound(folder.path("cycle.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100,
                sine_cycle(600, two_harmonics));
    expect_two_harmonics(spectrum_of("cycle.wav", {"-t", "harm"}), "cycle.wav");
}

TEST_F(Audio_input, AcceptsExactly65536Frames)
{
    write_sound(folder.path("long.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100,
                sine_cycle(65536, two_harmonics));
    expect_two_harmonics(spectrum_of("long.wav"), "long.wav");
}

TEST_F(Audio_input, EmptyMonoFileReadsAsNoSamples)
{
    write_sound(folder.path("empty.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100, {});
    // No samples hold no harmonic: the spectrum is silent.
    EXPECT_EQ(spectrum_of("empty.wav"), std::vector<double>(4, 0.0));
}

TEST_F(Audio_input, RefusedInputsNameTheirFaultAndCreateNoOutput)
{
    const int pcm_16_wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    write_sound(folder.path("too_long.wav"), pcm_16_wav, 1, 44100,
                std::vector<double>(65537, 0.25));
    write_sound(folder.path("stereo.wav"), pcm_16_wav, 2, 44100, std::vector<double>(1200, 0.25));
    write_sound(folder.path("long_stereo.wav"), pcm_16_wav, 2, 44100,
                std::vector<double>(2 * 65537, 0.25));
    folder.write("notes.wav", "0.5\n-0.5\n");
    folder.write("notes.txt", "0.5\n-0.5\n");

    struct Case {
        std::vector<std::string> input_arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"-i", "too_long.wav"}, "too_long.wav has too many samples."},
        {{"-i", "stereo.wav"}, "stereo.wav has more than one audio channel."},
        // Both faults at once: the length is named.
        {{"-i", "long_stereo.wav"}, "long_stereo.wav has too many samples."},
        // Text is text, whatever the name or the format option says.
        {{"-i", "notes.wav"}, "Format not recognised."},
        {{"-i", "notes.txt", "-f", "audio"}, "Format not recognised."},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.input_arguments;
        arguments.insert(arguments.end(), {"-o", "out.txt", "-T", "harm", "-s", "4"});
        const Program_result result = run(arguments);
        EXPECT_EQ(result.exit_status, 1) << c.message;
        EXPECT_EQ(result.standard_output, error_report(c.message));
        EXPECT_FALSE(file_exists(folder.path("out.txt"))) << c.message;
    }
}

}  // namespace
}  // namespace Vemo::testing
