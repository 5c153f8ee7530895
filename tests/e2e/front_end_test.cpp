// The command line as a user meets it: help, version, refusals, and the
// messages and exit statuses that come with them.

#include "e2e/program_test.hpp"
#include "support/sound_files.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <regex>

namespace Vemo::testing {
namespace {

const std::string program = TONALITH_PROGRAM;

using Front_end = Program_test;

TEST_F(Front_end, NoOptionsPointsToHelp)
{
    const Program_result result = run({});
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_output,
              error_report("Tonalith - convert between single cycle waveforms and spectra.\n"
                           "No options given try:\n" +
                           program + " -h to get help."));
}

TEST_F(Front_end, HelpShowsBannerAndBothOptionGroups)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"-h"}, {"--help", "--version"}, {"-i", "x.txt", "--help"}}) {
        const Program_result result = run(arguments);
        EXPECT_EQ(result.exit_status, 0);
        const std::string& out = result.standard_output;
        EXPECT_EQ(out.rfind("Tonalith - Waveform spectrum converter version " TONALITH_VERSION "\n",
                            0),
                  0u);
        EXPECT_NE(out.find("Copyright 2026 The Tonalith developers\n"), std::string::npos);
        EXPECT_NE(out.find("GPL-3.0-or-later"), std::string::npos);
        EXPECT_NE(out.find("\nTonalith convert between single cycle waveforms and spectra in "
                           "different formats.\n\n"),
                  std::string::npos);
        const std::size_t help_group = out.find("Help options:\n");
        const std::size_t conversion_group = out.find("Conversion options:\n");
        ASSERT_NE(help_group, std::string::npos);
        ASSERT_NE(conversion_group, std::string::npos);
        EXPECT_LT(help_group, conversion_group);
        EXPECT_NE(out.find("  -z [ --threshold ] zero_threshold     Value below which harmonics"),
                  std::string::npos);
        // The option library wraps descriptions; the words count, not the breaks.
        const std::string words = std::regex_replace(out, std::regex(R"(\s+)"), " ");
        EXPECT_NE(words.find("mw2 (Waldorf Microwave II/XT wave dump), wt (Surge XT and Bitwig "
                             "wavetable) -F [ --output_format ]"),
                  std::string::npos);
        EXPECT_NE(words.find("mw2 (Waldorf Microwave II/XT wave dump), svg (picture of the wave "
                             "or spectrum), wt (Surge XT and Bitwig wavetable) -t [ --input_type ]"),
                  std::string::npos);
        EXPECT_NE(words.find("-S [ --input_size ] input_size Number of samples of one wave in an "
                             "audio or text file that holds several (a wavetable); default: from "
                             "the file's tags, else the whole file -w"),
                  std::string::npos);
        EXPECT_NE(words.find("-a [ --all_waves ] Convert every wave of the input and write them "
                             "as one wavetable -n [ --wave_count ] wave_count Number of waves of "
                             "the output wavetable, spread evenly over the input's waves (default: "
                             "as many as the input holds)"),
                  std::string::npos);
        EXPECT_EQ(out.find("ERROR"), std::string::npos);
    }
}

TEST_F(Front_end, VersionShowsBannerAndNotice)
{
    const Program_result result = run({"-v"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_output.rfind(
                  "Tonalith - Waveform spectrum converter version " TONALITH_VERSION "\n"
                  "Copyright 2026 The Tonalith developers\n",
                  0),
              0u);
    int lines = 0;
    for (char c : result.standard_output)
        lines += c == '\n';
    EXPECT_EQ(lines, 4);
}

TEST_F(Front_end, ParseErrorsAreExplainedAndRefused)
{
    struct Case {
        std::vector<std::string> arguments;
        std::string explanation;
    };
    const Case cases[] = {
        {{"saw.txt"}, "too many positional options have been specified on the command line"},
        {{"-i", "a.txt", "-o", "b.txt", "stray"},
         "too many positional options have been specified on the command line"},
        {{"--bogus"}, "unrecognised option '--bogus'"},
        {{"-r", "fast", "-i", "a.txt"}, "the argument ('fast') for option '--samplerate' is invalid"},
        {{"-i"}, "the required argument for option '--input' is missing"},
        {{"--in", "a.txt"},
         "option '--in' is ambiguous and matches '--input', '--input_format', '--input_size', "
         "'--input_type', and '--input_wave'"},
        {{"-o", "a.txt", "-o", "b.txt"}, "option '--output' cannot be specified more than once"},
        // Negative numbers are not wrapped around into huge ones.
        {{"-i", "a.txt", "-s-1"}, "the argument ('-1') for option '--output_size' is invalid"},
        {{"--samplerate=-1"}, "the argument ('-1') for option '--samplerate' is invalid"},
        {{"-r", "+"}, "the argument ('+') for option '--samplerate' is invalid"},
        {{"-s", "+-1"}, "the argument ('+-1') for option '--output_size' is invalid"},
        {{"-W", "4294967296"},
         "the argument ('4294967296') for option '--output_wave' is invalid"},
        // Words that hold the library's own placeholders are shown as typed.
        {{"-T", "wave", "--o%original_token%e"}, "unrecognised option '--o%original_token%e'"},
        {{"-s", "%value%"}, "the argument ('%value%') for option '--output_size' is invalid"},
    };
    for (const Case& c : cases) {
        const Program_result result = run(c.arguments);
        EXPECT_EQ(result.exit_status, 1) << c.explanation;
        EXPECT_EQ(result.standard_output, "ERROR parsing options:\n" + c.explanation + "\n" +
                                              error_report("Failed to parse the program options."));
    }
}

TEST_F(Front_end, NumbersMayCarryAPlusSign)
{
    folder.write("saw.txt", "0\n1\n0\n-1\n");
    struct Case {
        std::vector<std::string> arguments;
        std::string output;
        std::uint64_t samples;
        unsigned sample_rate;
    };
    const Case cases[] = {
        {{"-s", "+64", "-r", "+8000"}, "saw.wav", 64, 8000},
        {{"-W", "+1001", "-w", "+0"}, "saw.syx", 64, 44100},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"-i", "saw.txt", "-t", "wave", "-o", c.output};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const Program_result result = run(arguments);
        EXPECT_EQ(result.exit_status, 0) << c.output;
        EXPECT_EQ(result.standard_output,
                  success_report("saw.txt", c.output, c.samples, c.sample_rate));
    }
    // User wave 1001: wave number bytes 07 69.
    EXPECT_EQ(read_file(folder.path("saw.syx")).substr(5, 2), "\x07\x69");
}

TEST_F(Front_end, RefusalsAreExplainedBeforeAnyFileIsTouched)
{
    folder.write("saw.txt", "0\n1\n0\n-1\n");
    folder.write("sound.wave", "");
    folder.write("picture.svg", "<svg/>");
    folder.write("table.ftable", "");
    ::mkdir(folder.path("folder.txt").c_str(), 0755);
    ::symlink("loop-b.txt", folder.path("loop-a.txt").c_str());
    ::symlink("loop-a.txt", folder.path("loop-b.txt").c_str());
    ::symlink("nowhere.txt", folder.path("dangling.txt").c_str());
    const std::vector<std::string> before = folder.names();
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    const Case cases[] = {
        {{"-o", "out.txt"}, "No input file given. Please specify an input file."},
        {{"-i", "saw.txt"}, "No output file given. Please specify an output file."},
        {{"-i", "missing.txt"}, "No output file given. Please specify an output file."},
        {{"-i", "saw.txt", "-t", "wave", "-o", "out.txt", "-T", "wave"},
         "No output size given. Please specify an output size."},
        {{"-i", "saw.txt", "-t", "wave", "-o", "out.txt", "-T", "wave", "-s", "0"},
         "No output size given. Please specify an output size."},
        {{"-i", "sound.wave", "-o", "out.txt", "-T", "harm", "-s", "4"},
         "sound.wave is not recognised as a supported format: none"},
        {{"-i", "noextension", "-o", "out.txt"},
         "noextension is not recognised as a supported format: none"},
        {{"-i", "a.dir/saw", "-o", "out.txt"},
         "a.dir/saw is not recognised as a supported format: none"},
        {{"-i", "saw.txt", "-f", "ysc", "-o", "out.txt"},
         "saw.txt is not recognised as a supported format: ysc"},
        {{"-i", "picture.svg", "-t", "wave", "-o", "out.txt", "-T", "wave", "-s", "64"},
         "picture.svg is not recognised as a supported format: svg"},
        {{"-i", "saw.txt", "-t", "wave", "-o", "out.txt", "-F", "ftable", "-T", "wave"},
         "out.txt is not recognised as a supported format: ftable"},
        {{"-i", "saw.txt", "-t", "wave", "-o", "copy.ftable", "-s", "64"},
         "copy.ftable is not recognised as a supported format: ftable"},
        {{"-i", "saw.txt", "-o", "out.txt"},
         "No type was given for the input file saw.txt\n"
         "But input format text supports both wave and harm. Please specify."},
        {{"-i", "table.ftable", "-o", "out.txt", "-T", "harm"},
         "No type was given for the input file table.ftable\n"
         "But input format ftable supports both wave and harm. Please specify."},
        {{"-i", "saw.txt", "-t", "wave", "-o", "out.txt", "-s", "4"},
         "No type was given for the output file out.txt\n"
         "But the output format text supports both wave and harm. Please specify."},
        {{"-i", "saw.txt", "-t", "wave", "-o", "x.svg", "-s", "64"},
         "No type was given for the output file x.svg\n"
         "But the output format svg supports both wave and harm. Please specify."},
        {{"-i", "saw.txt", "-t", "wave", "-o", "x.svg", "-F", "svg", "-s", "64"},
         "No type was given for the output file x.svg\n"
         "But the output format svg supports both wave and harm. Please specify."},
        {{"-i", "saw.txt", "-t", "sine", "-o", "out.txt", "-T", "wave", "-s", "4"},
         "Can't convert between input type sine and output type wave"},
        {{"-i", "saw.txt", "-t", "harm", "-o", "out.txt", "-T", "wave", "-s", "4", "-z", "nan"},
         "The zero threshold must be a finite number."},
        {{"-i", "missing.txt", "-t", "wave", "-o", "out.txt", "-T", "harm", "-s", "4"},
         "missing.txt does not exist."},
        {{"-i", "dangling.txt", "-t", "wave", "-o", "out.txt", "-T", "harm", "-s", "4"},
         "dangling.txt does not exist."},
        {{"-i", "folder.txt", "-t", "wave", "-o", "out.txt", "-T", "harm", "-s", "4"},
         "folder.txt is not a file."},
        {{"-i", "loop-a.txt", "-t", "wave", "-o", "out.txt", "-T", "harm", "-s", "4"},
         "loop-a.txt can't be examined: Too many levels of symbolic links."},
    };
    for (const Case& c : cases) {
        const Program_result result = run(c.arguments);
        EXPECT_EQ(result.exit_status, 1) << c.message;
        EXPECT_EQ(result.standard_output, error_report(c.message));
        EXPECT_EQ(folder.names(), before) << c.message;
    }
}

TEST_F(Front_end, ListsOneDefaultWaveOrTheRefusal)
{
    folder.write("saw.txt", "0\n1\n");
    folder.write("table.ftable", "");
    write_sound(folder.path("cycle.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100, {0.5});
    write_sound(folder.path("stereo.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 44100, {0.5, 0});
    struct Case {
        std::vector<std::string> arguments;
        std::string listing;
    };
    const Case cases[] = {
        {{"-l", "saw.txt", "-t", "harm"},
         "Tonalith: listing spectra from file saw.txt:\nDefault\n"},
        {{"--list", "saw.txt", "-t", "wave"},
         "Tonalith: listing waveforms from file saw.txt:\nDefault\n"},
        {{"-l", "table.ftable", "-t", "wave"},
         "Tonalith: listing waveforms from file table.ftable:\nDefault\n"},
        {{"-l", "cycle.wav"}, "Tonalith: listing waveforms from file cycle.wav:\nDefault\n"},
        {{"-l", "missing.txt", "-t", "wave"}, error_report("missing.txt does not exist.")},
        {{"-l", "saw.txt"},
         error_report("No type was given for the input file saw.txt\n"
                      "But input format text supports both wave and harm. Please specify.")},
        {{"-l", "stereo.wav"}, error_report("stereo.wav has more than one audio channel.")},
    };
    for (const Case& c : cases) {
        const Program_result result = run(c.arguments);
        EXPECT_EQ(result.exit_status, c.listing.find("ERROR") == std::string::npos ? 0 : 1);
        EXPECT_EQ(result.standard_output, c.listing);
    }
}

}  // namespace
}  // namespace Vemo::testing
