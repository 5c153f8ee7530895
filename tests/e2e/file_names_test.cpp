// File names as people have them: an extension counts in any letter case
// (SAW.WAV, BANK.Syx) and .aif is AIFF, for input and output alike; format
// names given with -f and -F stay exact.

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"
#include "support/sound_files.hpp"
#include "support/wave_dump_bytes.hpp"

namespace Vemo::testing {
namespace {

using File_names = Program_test;

TEST_F(File_names, ExtensionsCountInAnyLetterCase)
{
    const std::vector<double> cycle = sine_cycle(600, {1, 0, 0.5});
    write_sound(folder.path("SAW.WAV"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100, cycle);
    write_sound(folder.path("saw.aif"), SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 1, 44100, cycle);
    folder.write("BANK.Syx", wave_dump(1000, one_harmonic_codes));
    folder.write("spectrum.txt", "1\n0\n0.5\n");
    const std::vector<std::string> spectrum_in{"-i", "spectrum.txt", "-t", "harm", "-s", "64"};
    struct Case {
        std::vector<std::string> arguments;
        std::string output;
        /// The output's libsndfile format, 0 for text and dumps; or the refusal.
        int format;
        std::string refusal;
    };
    const Case cases[] = {
        {{"-i", "SAW.WAV", "-T", "harm", "-s", "64"}, "from-wav.txt", 0, ""},
        {{"-i", "saw.aif", "-T", "harm", "-s", "64"}, "from-aif.txt", 0, ""},
        {{"-i", "BANK.Syx", "-T", "harm", "-s", "64"}, "from-syx.txt", 0, ""},
        {spectrum_in, "OUT.WAV", SF_FORMAT_WAV | SF_FORMAT_PCM_16, ""},
        {spectrum_in, "out.aif", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, ""},
        {spectrum_in, "OUT.Syx", 0, ""},
        {{"-i", "SAW.WAV", "-f", "AUDIO", "-T", "harm", "-s", "4"}, "x.txt", 0,
         "SAW.WAV is not recognised as a supported format: AUDIO"},
        {{"-i", "SAW.WAV", "-F", "Audio"}, "x.wav", 0,
         "x.wav is not recognised as a supported format: Audio"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-o", c.output});
        const std::string output = folder.path(c.output);
        EXPECT_EQ(run(arguments).standard_output,
                  c.refusal.empty() ? success_report(arguments[1], c.output, 64)
                                    : error_report(c.refusal));
        if (!c.refusal.empty()) {
            EXPECT_FALSE(file_exists(output)) << c.output;
        } else if (c.format != 0) {
            EXPECT_EQ(read_sound(output).info.format, c.format) << c.output;
        } else if (c.output.ends_with(".Syx")) {
            EXPECT_EQ(read_file(output).size(), 137u) << c.output;
        }
    }
}

}  // namespace
}  // namespace Vemo::testing
