// File names as people have them: an extension counts in any letter case
// (SAW.WAV, BANK.Syx) and .aif is AIFF, for input and output alike; format
// names given with -f and -F stay exact.

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"
#include "support/sound_files.hpp"
#include "support/wave_dump_bytes.hpp"

#include <boost/filesystem.hpp>

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
        /// What the output holds: values of text, the libsndfile format of
        /// a sound, or the bytes of a dump (format 0).
        std::uint64_t size;
        int format;
        /// The refusal, if any.
        std::string message;
    };
    const int wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    const int aiff = SF_FORMAT_AIFF | SF_FORMAT_PCM_16;
    const Case cases[] = {
        {{"-i", "SAW.WAV", "-T", "harm", "-s", "4"}, "in-wav.txt", 4, 0, ""},
        {{"-i", "saw.aif", "-T", "harm", "-s", "4"}, "in-aif.txt", 4, 0, ""},
        {{"-i", "BANK.Syx", "-T", "harm", "-s", "4"}, "in-syx.txt", 4, 0, ""},
        {spectrum_in, "OUT.WAV", 64, wav, ""},
        {spectrum_in, "out.aif", 64, aiff, ""},
        {spectrum_in, "Out.Aiff", 64, aiff, ""},
        {spectrum_in, "OUT.Syx", 64, 0, ""},
        {{"-i", "SAW.WAV", "-f", "AUDIO", "-T", "harm", "-s", "4"}, "x.txt", 0, 0,
         "SAW.WAV is not recognised as a supported format: AUDIO"},
        {{"-i", "SAW.WAV", "-F", "Audio"}, "x.wav", 0, 0,
         "x.wav is not recognised as a supported format: Audio"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-o", c.output});
        const Program_result result = run(arguments);
        if (!c.message.empty()) {
            EXPECT_EQ(result.standard_output, error_report(c.message));
            EXPECT_FALSE(file_exists(folder.path(c.output))) << c.output;
        } else if (c.output.ends_with(".txt")) {
            EXPECT_EQ(result.standard_output, success_report(arguments[1], c.output, c.size));
            EXPECT_EQ(read_values(folder.path(c.output)).size(), c.size) << c.output;
        } else {
            EXPECT_EQ(result.standard_output, success_report(arguments[1], c.output, c.size));
            if (c.format != 0)
                EXPECT_EQ(read_sound(folder.path(c.output)).info.format, c.format) << c.output;
            else
                EXPECT_EQ(read_file(folder.path(c.output)).size(), 137u) << c.output;
        }
    }
}

}  // namespace
}  // namespace Vemo::testing
