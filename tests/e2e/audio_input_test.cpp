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
        EXPECT_EQ(result.standard_output, success_report(input, "spectrum.txt", 4));
        std::vector<double> spectrum = read_values(folder.path("spectrum.txt"));
        boost::filesystem::remove(folder.path("spectrum.txt"));
        return spectrum;
    }
};

TEST_F(Audio_input, ReadsEveryEncodingAsTheSameCycle)
{
    struct Case {
        std::string name;
        int format;
        std::size_t frames;
        std::vector<std::string> extra_arguments;
    };
    const int pcm_16_wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const Case cases[] = {
        {"cycle.wav", pcm_16_wav, 600, {}},
        {"cycle.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 600, {}},
        {"cycle24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 600, {}},
        {"cyclefloat.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 600, {}},
        // Other containers are known by their names too, in any letter case.
        {"cycle.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 600, {}},
        {"CYCLE.FLAC", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 600, {}},
        {"cycle.au", SF_FORMAT_AU | SF_FORMAT_PCM_16, 600, {}},
        {"cycle.caf", SF_FORMAT_CAF | SF_FORMAT_PCM_16, 600, {}},
        {"cycle.w64", SF_FORMAT_W64 | SF_FORMAT_PCM_16, 600, {}},
        {"cycle.rf64", SF_FORMAT_RF64 | SF_FORMAT_PCM_16, 600, {}},
        // Any name, with the format named.
        {"cycle.snd16", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 600, {"-f", "audio"}},
        // libsndfile knows a file by its content, not by its name.
        {"aiff_inside.wav", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 600, {}},
        // Audio is always read as a wave, whatever type is asked for.
        {"typed.wav", pcm_16_wav, 600, {"-t", "harm"}},
        {"longest.wav", pcm_16_wav, 65536, {}},
        // No samples hold no harmonic: the spectrum is silent.
        {"empty.wav", pcm_16_wav, 0, {}},
    };
    for (const Case& c : cases) {
        // Harmonics 1 and 3 at 0.6 and 0.3: the spectrum reads 1, 0, 0.5, 0.
        write_sound(folder.path(c.name), c.format, 1, 22050, sine_cycle(c.frames, {0.6, 0, 0.3}));
        const std::vector<double> spectrum = spectrum_of(c.name, c.extra_arguments);
        const std::vector<double> expected =
            c.frames > 0 ? std::vector<double>{1, 0, 0.5, 0} : std::vector<double>(4, 0.0);
        ASSERT_EQ(spectrum.size(), 4u) << c.name;
        for (std::size_t k = 0; k < 4; ++k)
            EXPECT_NEAR(spectrum[k], expected[k], k == 2 ? 1e-5 : 0.0) << c.name << " " << k + 1;
    }
}

TEST_F(Audio_input, LossyFilesAreKnownByTheirNamesForInputOnly)
{
    const std::pair<std::string, int> inputs[] = {
        {"cycle.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"cycle.OGA", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"cycle.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS},
        {"cycle.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III},
    };
    for (const auto& [name, format] : inputs) {
        // A lossy encoder needs some cycles to settle; the spectrum only nears 1, 0, 0.5, 0.
        std::vector<double> cycles;
        for (int repeat = 0; repeat < 40; ++repeat) {
            const std::vector<double> cycle = sine_cycle(1200, {0.6, 0, 0.3});
            cycles.insert(cycles.end(), cycle.begin(), cycle.end());
        }
        write_sound(folder.path(name), format, 1, 48000, cycles);
        const std::vector<double> spectrum = spectrum_of(name, {"-S", "1200", "-w", "20"});
        ASSERT_EQ(spectrum.size(), 4u) << name;
        EXPECT_NEAR(spectrum[2], 0.5, 0.05) << name;
    }
    // Audio output stays WAV and AIFF.
    const std::pair<std::vector<std::string>, std::string> outputs[] = {
        {{"-o", "out.flac"}, "out.flac is not recognised as a supported format: none"},
        {{"-o", "out.ogg"}, "out.ogg is not recognised as a supported format: none"},
        {{"-o", "out.flac", "-F", "audio"}, "Audio output can only be written in wav and aiff "
                                            "format. Filenames should end in .wav, .aif or .aiff."},
    };
    for (const auto& [output, message] : outputs) {
        std::vector<std::string> arguments{"-i", "cycle.ogg", "-s", "64"};
        arguments.insert(arguments.end(), output.begin(), output.end());
        EXPECT_EQ(run(arguments).standard_output, error_report(message));
    }
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
