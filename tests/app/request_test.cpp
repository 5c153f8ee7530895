#include "app/request.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace Vemo {
namespace {

Request parse(std::vector<std::string> words)
{
    words.insert(words.begin(), "tonalith");
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    return parse_request(static_cast<int>(words.size()), argv.data());
}

TEST(parse_request, FillsEveryFieldFromItsOption)
{
    const Request request =
        parse({"-i", "in.txt", "-o", "out.syx", "-f", "text", "-F", "mw2", "-t", "harm", "-T",
               "wave", "-r", "48000", "-s", "+128", "-S", "2048", "-w", "3", "-W", "1005", "-z",
               "0.5"});
    EXPECT_EQ(request.refusal, "");
    EXPECT_EQ(request.input_files, std::vector<std::string>{"in.txt"});
    EXPECT_EQ(request.output_file, "out.syx");
    EXPECT_EQ(request.input_format, "text");
    EXPECT_EQ(request.output_format, "mw2");
    EXPECT_EQ(request.input_type, "harm");
    EXPECT_EQ(request.output_type, "wave");
    EXPECT_EQ(request.sample_rate, 48000u);
    EXPECT_EQ(request.output_size, 128u);
    EXPECT_EQ(request.input_size, 2048u);
    EXPECT_EQ(request.input_wave_number, 3u);
    EXPECT_EQ(request.output_wave_number, 1005u);
    EXPECT_EQ(request.threshold, 0.5);
    EXPECT_FALSE(request.help || request.version || request.list || request.table_run());

    const Request table = parse({"-i", "a.wav", "-o", "t.wav", "-i", "b.wav", "-a", "-n", "61"});
    EXPECT_EQ(table.input_files, (std::vector<std::string>{"a.wav", "b.wav"}));
    EXPECT_TRUE(table.all_waves);
    EXPECT_EQ(table.wave_count, 61u);
    EXPECT_TRUE(table.table_run());

    const Request defaults = parse({"--input", "a.wav", "--output", "b.txt"});
    EXPECT_EQ(defaults.sample_rate, 44100u);
    EXPECT_EQ(defaults.output_size, 0u);
    EXPECT_EQ(defaults.threshold, 0.00001);
    EXPECT_EQ(defaults.input_format, "");
}

TEST(parse_request, SaysWhatWasAskedOrWhyNothingCanBeDone)
{
    struct Case {
        std::vector<std::string> words;
        std::string refusal;
        bool help, version, option_error;
        std::string list;
    };
    const std::string no_options = "Tonalith - convert between single cycle waveforms and "
                                   "spectra.\nNo options given try:\ntonalith -h to get help.";
    const Case cases[] = {
        {{}, no_options, false, false, false, ""},
        {{"-h", "-v", "-i", "a"}, "", true, true, false, ""},
        {{"-v", "-o", "a"}, "", false, true, false, ""},
        {{"-l", "bank.syx", "-i", "a"}, "", false, false, false, "bank.syx"},
        {{"-o", "b.txt"}, "No input file given. Please specify an input file.", false, false,
         false, ""},
        {{"-i", "a.wav"}, "No output file given. Please specify an output file.", false, false,
         false, ""},
        {{"-i", "a.wav", "-o", "b.txt", "-z", "nan"}, "The zero threshold must be a finite number.",
         false, false, false, ""},
        {{"-i", "a.wav", "-o", "b.txt", "-s", "-1"}, "Failed to parse the program options.", false,
         false, true, ""},
        {{"a.wav"}, "Failed to parse the program options.", false, false, true, ""},
        {{"-i", "a.wav", "b.wav", "-o", "t.txt"}, "Failed to parse the program options.", false,
         false, true, ""},
        {{"-i", "a.wav", "-o", "t.txt", "-a", "-w", "1"},
         "The input wave number can't be combined with --all_waves, --wave_count or several "
         "inputs.",
         false, false, false, ""},
        {{"-i", "a.wav", "-i", "b.wav", "-o", "t.txt", "-w", "2"},
         "The input wave number can't be combined with --all_waves, --wave_count or several "
         "inputs.",
         false, false, false, ""},
        {{"-h", "--nonsense"}, "Failed to parse the program options.", false, false, true, ""},
    };
    for (const Case& c : cases) {
        const Request request = parse(c.words);
        const std::string words = ::testing::PrintToString(c.words);
        EXPECT_EQ(request.refusal, c.refusal) << words;
        EXPECT_EQ(request.help, c.help) << words;
        EXPECT_EQ(request.version, c.version) << words;
        EXPECT_EQ(request.option_error.has_value(), c.option_error) << words;
        EXPECT_EQ(request.list.value_or(""), c.list) << words;
    }
}

}  // namespace
}  // namespace Vemo
