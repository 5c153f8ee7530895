// What the program promises about output files, for every output format: it
// never overwrites anything, a failed run leaves no output behind, and every
// failure is explained.

#include "e2e/program_test.hpp"

#include <sys/stat.h>
#include <unistd.h>

namespace Vemo::testing {
namespace {

using Output_safety = Program_test;

/// A spectrum of 128 harmonics: enough for every format to write more than
/// the file-size limit below.
std::string many_harmonics()
{
    std::string amplitudes;
    for (int harmonic = 1; harmonic <= 128; ++harmonic)
        amplitudes += "1\n";
    return amplitudes;
}

/// A successful run into `output` in an empty folder, for each output format.
std::vector<std::string> run_into(const std::string& output)
{
    std::vector<std::string> arguments = {"-i", "in.txt", "-t", "harm", "-o", output, "-s",
                                          "4096"};
    if (output == "out.txt" || output == "out.svg")
        arguments.insert(arguments.end(), {"-T", "wave"});
    return arguments;
}

const std::string outputs[] = {"out.txt", "out.wav", "out.aiff", "out.syx", "out.ysc", "out.svg"};

TEST_F(Output_safety, NeverWritesOverAnythingAtTheOutputPath)
{
    struct Case {
        std::string description;
        void (*make)(const Temp_folder&, const std::string& output);
        std::string left_at_the_path;
    };
    const Case cases[] = {
        {"a file", [](const Temp_folder& f, const std::string& o) { f.write(o, "precious"); },
         "precious"},
        {"a directory",
         [](const Temp_folder& f, const std::string& o) { ::mkdir(f.path(o).c_str(), 0755); },
         ""},
        {"a link to a file",
         [](const Temp_folder& f, const std::string& o) {
             ::symlink("target", f.path(o).c_str());
         },
         "precious"},
        {"a dangling link",
         [](const Temp_folder& f, const std::string& o) {
             ::symlink("nowhere", f.path(o).c_str());
         },
         ""},
    };
    for (const std::string& output : outputs)
        for (const Case& c : cases) {
            SCOPED_TRACE(output + " is " + c.description);
            Temp_folder here;
            here.write("in.txt", "1\n0.5\n");
            here.write("target", "precious");
            c.make(here, output);
            const Program_result result = run_in(here, run_into(output));
            EXPECT_EQ(result.exit_status, 1);
            EXPECT_EQ(result.standard_output,
                      error_report(output + " already exists and will not be overwritten."));
            EXPECT_EQ(read_file(here.path(output)), c.left_at_the_path);
            EXPECT_EQ(read_file(here.path("target")), "precious");
            EXPECT_FALSE(file_exists(here.path("nowhere")));
        }
}

TEST_F(Output_safety, AFailedRunRemovesTheFileItCreated)
{
    for (const std::string& output : outputs) {
        SCOPED_TRACE(output);
        // A reader that fails after the output file was created.
        folder.write("in.txt", "1\nabc\n");
        Program_result result = run(run_into(output));
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_output, error_report("in.txt: line 2 does not hold a number."));
        EXPECT_FALSE(file_exists(folder.path(output)));

        // A file-size limit stands in for a full disk: the write falls short.
        folder.write("in.txt", many_harmonics());
        result = run(run_into(output), 100);
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_output,
                  "Converting to 44100Hz\n" +
                      error_report("Not all data was written to " + output));
        EXPECT_FALSE(file_exists(folder.path(output)));
    }
}

TEST_F(Output_safety, FailedConversionsAreExplainedAndLeaveNoFile)
{
    const std::vector<std::string> to_wave = {"-i", "in.txt", "-t", "harm", "-o", "out.txt",
                                              "-T", "wave", "-s", "8"};
    struct Case {
        std::string input;
        std::vector<std::string> arguments;
        std::string report;
    };
    const Case cases[] = {
        {"1\nnan\n", to_wave, error_report("The input holds a value that is not a finite number.")},
        // Refused before anything is converted.
        {"1\n", {"-i", "in.txt", "-t", "harm", "-o", "out.txt", "-T", "harm", "-s",
                 "18446744073709551615"},
         error_report("There is not enough memory for this conversion.")},
        {"1\n", {"-i", "in.txt", "-t", "harm", "-o", "out.txt", "-T", "wave", "-s",
                 "4000000000000"},
         error_report("There is not enough memory for this conversion.")},
        {"1\n# comment\n", to_wave, error_report("in.txt: line 2 does not hold a number.")},
        {"1\n\n \t\r\n,5\n", to_wave, error_report("in.txt: line 4 does not hold a number.")},
        {"1\n1e999\n", to_wave,
         error_report("in.txt: line 2 holds a number that is out of range.")},
        {"-1e400\n", to_wave, error_report("in.txt: line 1 holds a number that is out of range.")},
    };
    for (const Case& c : cases) {
        folder.write("in.txt", c.input);
        const Program_result result = run(c.arguments);
        EXPECT_EQ(result.exit_status, 1) << c.input;
        EXPECT_EQ(result.standard_output, c.report) << c.input;
        EXPECT_FALSE(file_exists(folder.path("out.txt"))) << c.input;
    }
}

TEST_F(Output_safety, AnEmptyOutputNameIsRefusedBeforeTheConversion)
{
    folder.write("in.txt", "1\n0.5\n");
    struct Case {
        std::vector<std::string> format;
        std::string report;
    };
    const std::string cannot_open = error_report("Can't open file : unknown error.");
    const Case cases[] = {
        {{"-F", "text", "-T", "wave"}, cannot_open},
        {{"-F", "mw2"}, cannot_open},
        {{"-F", "ysc"}, cannot_open},
        {{"-F", "svg", "-T", "wave"}, cannot_open},
        {{"-F", "audio"},
         error_report("Audio output can only be written in wav and aiff format. Filenames "
                      "should end in .wav, .aif or .aiff.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format[1]);
        std::vector<std::string> arguments{"-i", "in.txt", "-t", "harm", "-o", "", "-s", "64"};
        arguments.insert(arguments.end(), c.format.begin(), c.format.end());
        const Program_result result = run(arguments);
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_output, c.report);
        EXPECT_EQ(folder.names(), std::vector<std::string>{"in.txt"});
    }
}

TEST_F(Output_safety, HugeAmplitudesGiveTheWaveOfTheirShape)
{
    // Their sum once overflowed, and the conversion failed as not finite.
    for (const std::string output : {"out.txt", "out.wav", "out.syx"}) {
        std::string written[2];
        for (const int huge : {0, 1}) {
            const Temp_folder here;
            here.write("in.txt", huge ? "1.5e308\n1.5e308\n" : "1\n1\n");
            EXPECT_EQ(run_in(here, run_into(output)).exit_status, 0) << output;
            written[huge] = read_file(here.path(output));
        }
        EXPECT_EQ(written[1], written[0]) << output;
        EXPECT_NE(written[0], "") << output;
    }
}

}  // namespace
}  // namespace Vemo::testing
