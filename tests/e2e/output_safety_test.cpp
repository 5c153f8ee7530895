// What the program promises about files: it never overwrites anything, a
// failed run leaves no output behind, and every failure is explained.

#include "e2e/program_test.hpp"

#include <unistd.h>

namespace Vemo::testing {
namespace {

using Output_safety = Program_test;

const std::vector<std::string> convert_to_out = {"-i", "in.txt", "-t", "harm", "-o", "out.txt",
                                                 "-T", "wave", "-s", "8"};

TEST_F(Output_safety, NeverWritesOverAnythingAtTheOutputPath)
{
    folder.write("in.txt", "1\n");
    folder.write("target.txt", "precious");
    struct Case {
        std::string description;
        void (*make)(const Temp_folder&);
    };
    const Case cases[] = {
        {"a file", [](const Temp_folder& f) { f.write("out.txt", "precious"); }},
        {"a directory", [](const Temp_folder& f) { ::mkdir(f.path("out.txt").c_str(), 0755); }},
        {"a link to a file",
         [](const Temp_folder& f) { ::symlink("target.txt", f.path("out.txt").c_str()); }},
        {"a dangling link",
         [](const Temp_folder& f) { ::symlink("nowhere.txt", f.path("out.txt").c_str()); }},
    };
    for (const Case& c : cases) {
        Temp_folder here;
        here.write("in.txt", "1\n");
        here.write("target.txt", "precious");
        c.make(here);
        const Program_result result = run_program(convert_to_out, here.root);
        EXPECT_EQ(result.exit_status, 1) << c.description;
        EXPECT_EQ(result.standard_output,
                  error_report("out.txt already exists and will not be overwritten."))
            << c.description;
        EXPECT_EQ(read_file(here.path("target.txt")), "precious") << c.description;
        EXPECT_FALSE(file_exists(here.path("nowhere.txt"))) << c.description;
    }
}

TEST_F(Output_safety, FailuresAfterTheOutputWasCreatedLeaveNoFile)
{
    struct Case {
        std::string input;
        std::vector<std::string> arguments;
        std::string report;
    };
    const Case cases[] = {
        {"1\nnan\n", convert_to_out,
         error_report("The input holds a value that is not a finite number.")},
        {"1\n-inf\n", convert_to_out,
         error_report("The input holds a value that is not a finite number.")},
        {"1.5e308\n1.5e308\n", convert_to_out,
         "Converting to 44100Hz\n" +
             error_report("The conversion produced a value that is not a finite number.")},
        {"1\n2\n", {"-i", "in.txt", "-t", "wave", "-o", "out.txt", "-T", "wave", "-s", "1000"},
         "Converting to 44100Hz\n" + error_report("SRC ratio outside [1/256, 256] range.")},
        {"", {"-i", "in.txt", "-t", "wave", "-o", "out.txt", "-T", "wave", "-s", "8"},
         "Converting to 44100Hz\n" + error_report("SRC ratio outside [1/256, 256] range.")},
        {"1\n", {"-i", "in.txt", "-t", "harm", "-o", "out.txt", "-T", "harm", "-s",
                 "18446744073709551615"},
         "Converting to 44100Hz\n" +
             error_report("There is not enough memory for this conversion.")},
        {"1\n", {"-i", "in.txt", "-t", "harm", "-o", "out.txt", "-T", "wave", "-s",
                 "4000000000000"},
         "Converting to 44100Hz\n" +
             error_report("There is not enough memory for this conversion.")},
        {"1\nabc\n", convert_to_out, error_report("in.txt: line 2 does not hold a number.")},
    };
    for (const Case& c : cases) {
        Temp_folder here;
        here.write("in.txt", c.input);
        const Program_result result = run_program(c.arguments, here.root);
        EXPECT_EQ(result.exit_status, 1) << c.input;
        EXPECT_EQ(result.standard_output, c.report) << c.input;
        EXPECT_FALSE(file_exists(here.path("out.txt"))) << c.input;
    }
}

TEST_F(Output_safety, AFileSizeLimitIsReportedAndThePartialFileRemoved)
{
    folder.write("in.txt", "1\n0.5\n");
    const Program_result result = run(
        {"-i", "in.txt", "-t", "harm", "-o", "out.txt", "-T", "wave", "-s", "10000"}, 4096);
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_output,
              "Converting to 44100Hz\n" + error_report("Not all data was written to out.txt"));
    EXPECT_FALSE(file_exists(folder.path("out.txt")));
}

TEST_F(Output_safety, InputPathsThatAreNoFilesAreNamed)
{
    ::mkdir(folder.path("folder.txt").c_str(), 0755);
    ::symlink("loop-b.txt", folder.path("loop-a.txt").c_str());
    ::symlink("loop-a.txt", folder.path("loop-b.txt").c_str());
    ::symlink("nowhere.txt", folder.path("dangling.txt").c_str());
    struct Case {
        std::string input;
        std::string message;
    };
    const Case cases[] = {
        {"missing.txt", "missing.txt does not exist."},
        {"dangling.txt", "dangling.txt does not exist."},
        {"folder.txt", "folder.txt is not a file."},
        {"loop-a.txt", "loop-a.txt can't be examined: Too many levels of symbolic links."},
    };
    for (const Case& c : cases) {
        const Program_result result =
            run({"-i", c.input, "-t", "wave", "-o", "out.txt", "-T", "harm", "-s", "4"});
        EXPECT_EQ(result.exit_status, 1) << c.input;
        EXPECT_EQ(result.standard_output, error_report(c.message));
        EXPECT_FALSE(file_exists(folder.path("out.txt")));
    }
}

TEST_F(Output_safety, TextInputLinesMustHoldNumbers)
{
    struct Case {
        std::string content;
        std::string message;
    };
    const Case cases[] = {
        {"1\n# comment\n", "in.txt: line 2 does not hold a number."},
        {"1\n\n \t\r\n,5\n", "in.txt: line 4 does not hold a number."},
        {"1\n1e999\n", "in.txt: line 2 holds a number that is out of range."},
        {"-1e400\n", "in.txt: line 1 holds a number that is out of range."},
    };
    for (const Case& c : cases) {
        Temp_folder here;
        here.write("in.txt", c.content);
        const Program_result result = run_program(convert_to_out, here.root);
        EXPECT_EQ(result.exit_status, 1) << c.content;
        EXPECT_EQ(result.standard_output, error_report(c.message)) << c.content;
    }
}

}  // namespace
}  // namespace Vemo::testing
