// Wavetables as input: a sound file of several waves back to back lists them
// and gives the one asked for, sized by -S or by the file's tags; an untagged
// file without -S stays one wave, the whole file.

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"
#include "support/sound_files.hpp"
#include "support/wavetable_files.hpp"

#include <boost/filesystem.hpp>

namespace Vemo::testing {
namespace {

const int pcm_16_wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

class Wavetable_input : public Program_test {
protected:
    void SetUp() override
    {
        write_tagged_sound(folder.path("table.wav"), pcm_16_wav, wavetable_samples(3, 256),
                           {"<!>256 10000000 wavetable (test)", 0, {}, 0, 0});
        // Untagged, as open wavetable editors save their banks of 64 x 256.
        write_tagged_sound(folder.path("bank.wav"), pcm_16_wav, wavetable_samples(64, 256), {});
        folder.write("saw.txt", "0\n1\n0\n-1\n");
    }
};

TEST_F(Wavetable_input, ListsTheWavesOrRefusesAWaveTheFileDoesNotHold)
{
    write_tagged_sound(folder.path("long.wav"), pcm_16_wav, wavetable_samples(2, 70000),
                       {"<!>70000", 0, {}, 0, 0});
    const std::vector<std::string> before = folder.names();
    const std::vector<std::string> convert{"-o", "out.txt", "-T", "harm", "-s", "8"};
    struct Case {
        std::vector<std::string> arguments;
        std::string output;
    };
    const Case cases[] = {
        {{"-l", "table.wav"}, frame_listing("table.wav", 3)},
        {{"-S", "256", "-l", "bank.wav"}, frame_listing("bank.wav", 64)},
        // The last 16384 - 163 x 100 samples are no whole wave.
        {{"--input_size=100", "-l", "bank.wav"}, frame_listing("bank.wav", 163)},
        {{"-l", "bank.wav"}, "Tonalith: listing waveforms from file bank.wav:\nDefault\n"},
        {{"-S", "2", "-l", "saw.txt", "-t", "wave"}, frame_listing("saw.txt", 2)},
        {{"-S", "16385", "-l", "bank.wav"},
         error_report("bank.wav holds 16384 samples, fewer than one wave of 16385.")},
        {{"-i", "table.wav", "-w", "3"},
         error_report("table.wav has no wave 3; its waves are numbered 0 to 2.")},
        {{"-i", "bank.wav", "-S", "256", "-w", "64"},
         error_report("bank.wav has no wave 64; its waves are numbered 0 to 63.")},
        // Without -S an untagged bank is one wave, the whole file.
        {{"-i", "bank.wav", "-w", "10"},
         error_report("bank.wav has no wave 10; its waves are numbered 0 to 0.")},
        {{"-i", "long.wav"}, error_report("long.wav has too many samples.")},
    };
    for (Case c : cases) {
        if (c.arguments.front() == "-i")
            c.arguments.insert(c.arguments.end(), convert.begin(), convert.end());
        const Program_result result = run(c.arguments);
        EXPECT_EQ(result.exit_status, c.output.find("ERROR") == std::string::npos ? 0 : 1);
        EXPECT_EQ(result.standard_output, c.output);
        EXPECT_EQ(folder.names(), before) << c.output;
    }
}

TEST_F(Wavetable_input, ConvertsTheWaveAskedFor)
{
    // What wavetable synths export: 256 x 2048, a file beyond 65536 frames.
    write_tagged_sound(folder.path("synth.wav"), pcm_16_wav, wavetable_samples(256, 2048),
                       {"<!>2048 10000000 wavetable (test)", 0, {}, 0, 0});
    struct Case {
        std::vector<std::string> arguments;
        std::size_t first_frame, frames;
    };
    const Case cases[] = {
        {{"-i", "synth.wav", "-w", "255"}, 255 * 2048, 2048},
        {{"-i", "bank.wav", "-S", "256", "-w", "10"}, 10 * 256, 256},
        {{"-i", "bank.wav"}, 0, 64 * 256},
    };
    for (Case c : cases) {
        const std::string input = c.arguments[1];
        c.arguments.insert(c.arguments.end(), {"-o", "wave.txt", "-T", "harm", "-s", "8"});
        ASSERT_EQ(run(c.arguments).standard_output, success_report(input, "wave.txt", 8));

        const std::vector<double> samples = read_sound(folder.path(input)).samples;
        const auto first = samples.begin() + static_cast<std::ptrdiff_t>(c.first_frame);
        const std::vector<double> expected =
            dft_spectrum({first, first + static_cast<std::ptrdiff_t>(c.frames)}, 8);
        const std::vector<double> spectrum = read_values(folder.path("wave.txt"));
        ASSERT_EQ(spectrum.size(), 8u);
        // Six significant digits in the text; amplitudes below the
        // threshold are 0.
        for (std::size_t k = 0; k < 8; ++k)
            EXPECT_NEAR(spectrum[k], expected[k] < 1e-5 ? 0.0 : expected[k], 2e-5)
                << input << " harmonic " << k + 1;
        boost::filesystem::remove(folder.path("wave.txt"));
    }
}

}  // namespace
}  // namespace Vemo::testing
