// An output file appears complete or not at all: not while the run works,
// not after a signal of any kind, not when the reader of standard output
// goes away. Closed standard streams change nothing, and a help, version or
// listing text that cannot be written is a failure.

#include "e2e/program_test.hpp"
#include "support/sound_files.hpp"

#include <signal.h>
#include <sys/stat.h>

namespace Vemo::testing {
namespace {

using Interrupted_run = Program_test;

/// Harmonics 1 / n of a saw, one per line.
std::string saw_spectrum(int harmonics)
{
    std::string text;
    for (int n = 1; n <= harmonics; ++n)
        text += std::to_string(1.0 / n) + "\n";
    return text;
}

/// Synthesises `output` from spectrum.txt at 65536 samples.
std::vector<std::string> synthesis_into(const std::string& output)
{
    return {"-i", "spectrum.txt", "-t", "harm", "-o", output, "-T", "wave", "-s", "65536"};
}

Start_options without_unnamed_files()
{
    Start_options options;
    options.preload = TONALITH_NO_UNNAMED_FILES;
    return options;
}

TEST_F(Interrupted_run, ASignalLeavesTheFolderAsItWas)
{
    // 20,000 harmonics at 65536 samples take several seconds: every signal
    // falls in the middle of the work.
    folder.write("spectrum.txt", saw_spectrum(20000));
    const std::vector<std::string> before = folder.names();
    struct Case {
        int signal;
        std::string output;
        bool unnamed_files;
        bool replaced_meanwhile;
    };
    std::vector<Case> cases = {
        {SIGINT, "k.wav", true, false},  {SIGTERM, "k.wav", true, false},
        {SIGHUP, "k.wav", true, false},  {SIGKILL, "k.wav", true, false},
        {SIGINT, "k.txt", true, false},  {SIGTERM, "k.txt", true, false},
        {SIGHUP, "k.txt", true, false},  {SIGKILL, "k.txt", true, false},
        {SIGTERM, "k.txt", false, true},
    };
    // Where the file must be created at its path, every signal that ends the
    // program from outside removes it again, but only while it is the
    // program's own (the case above).
    const int ending_signals[] = {SIGHUP,    SIGINT,  SIGQUIT,   SIGUSR1, SIGUSR2, SIGPIPE,
                                  SIGALRM,   SIGTERM, SIGSTKFLT, SIGIO,   SIGPWR,  SIGXCPU,
                                  SIGVTALRM, SIGPROF, SIGRTMIN,  SIGRTMAX};
    for (const int signal : ending_signals)
        for (const char* output : {"k.wav", "k.txt"})
            cases.push_back({signal, output, false, false});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output + " " + strsignal(c.signal) +
                     (c.unnamed_files ? "" : " without unnamed files") +
                     (c.replaced_meanwhile ? ", replaced meanwhile" : ""));
        Started_program program(synthesis_into(c.output), folder.root,
                                c.unnamed_files ? Start_options{} : without_unnamed_files());
        if (c.unnamed_files)
            ASSERT_TRUE(program.wait_for_unnamed_file(folder.root));
        else
            ASSERT_TRUE(program.wait_for_path(folder.path(c.output)));
        // The file is open and the synthesis has begun: the signal falls in
        // the middle of the work.
        ASSERT_TRUE(program.wait_for_output("Converting to 44100Hz\n"));
        if (c.unnamed_files) {
            EXPECT_EQ(folder.names(), before) << "something is at the path while the run works";
        }
        if (c.replaced_meanwhile) {
            ::unlink(folder.path(c.output).c_str());
            folder.write(c.output, "theirs");
        }
        ::kill(program.pid, c.signal);
        EXPECT_EQ(program.finish().exit_status, 128 + c.signal);
        if (c.replaced_meanwhile) {
            EXPECT_EQ(read_file(folder.path(c.output)), "theirs");
            ::unlink(folder.path(c.output).c_str());
        }
        EXPECT_EQ(folder.names(), before);
        // A file left behind goes, so that the next case starts from the same
        // folder.
        ::unlink(folder.path(c.output).c_str());
    }
}

TEST_F(Interrupted_run, AFileThatAppearsDuringTheRunIsKept)
{
    // Stopped as soon as its file is open, the program cannot finish first.
    folder.write("spectrum.txt", saw_spectrum(2000));
    for (const bool unnamed_files : {true, false}) {
        SCOPED_TRACE(unnamed_files ? "unnamed" : "without unnamed files");
        Started_program program(synthesis_into("k.wav"), folder.root,
                                unnamed_files ? Start_options{} : without_unnamed_files());
        if (unnamed_files)
            ASSERT_TRUE(program.wait_for_unnamed_file(folder.root));
        else
            ASSERT_TRUE(program.wait_for_path(folder.path("k.wav")));
        ::kill(program.pid, SIGSTOP);
        ::unlink(folder.path("k.wav").c_str());
        folder.write("k.wav", "theirs");
        ::kill(program.pid, SIGCONT);
        const Program_result result = program.finish();
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_output,
                  "Converting to 44100Hz\n" +
                      error_report("k.wav already exists and will not be overwritten."));
        EXPECT_EQ(read_file(folder.path("k.wav")), "theirs");
        EXPECT_EQ(folder.names(), (std::vector<std::string>{"k.wav", "spectrum.txt"}));
        ::unlink(folder.path("k.wav").c_str());
    }
}

TEST_F(Interrupted_run, AReaderThatLeavesFindsTheFileCompleteOrAbsent)
{
    folder.write("spectrum.txt", saw_spectrum(64));
    const auto synthesis_of_4096_into = [](const std::string& output) {
        return std::vector<std::string>{"-i", "spectrum.txt", "-t", "harm", "-o", output,
                                        "-s", "4096"};
    };
    // Like "| head -n1": the first line is read, then the pipe is closed.
    // The report that could meet the closed pipe comes only after the file
    // is complete at its path.
    for (int run = 1; run <= 5; ++run) {
        const std::string output = "q" + std::to_string(run) + ".wav";
        Start_options piped;
        piped.output = Output_to::pipe;
        Started_program program(synthesis_of_4096_into(output), folder.root, piped);
        EXPECT_EQ(program.read_line(), "Converting to 44100Hz\n");
        program.close_pipe();
        const int status = program.finish().exit_status;
        EXPECT_TRUE(status == 0 || status == 128 + SIGPIPE) << status;
        EXPECT_EQ(read_sound(folder.path(output)).info.frames, 4096) << output;
    }

    // A reader gone before the start ends the program at its first line.
    Start_options gone;
    gone.output = Output_to::gone_reader;
    Started_program program(synthesis_of_4096_into("gone.wav"), folder.root, gone);
    EXPECT_EQ(program.finish().exit_status, 128 + SIGPIPE);
    EXPECT_FALSE(file_exists(folder.path("gone.wav")));
}

TEST_F(Interrupted_run, ClosedStreamsAndMissingUnnamedFilesGiveTheSameFile)
{
    folder.write("spectrum.txt", saw_spectrum(32));
    Start_options closed;
    closed.output = Output_to::closed;
    struct Case {
        std::string extension;
        Start_options options;
        bool prints;
    };
    const Case cases[] = {
        {".syx", closed, false},
        {".wav", closed, false},
        {".txt", closed, false},
        {".wav", without_unnamed_files(), true},
        {".txt", without_unnamed_files(), true},
    };
    int run = 0;
    for (const Case& c : cases) {
        const std::string expected = "expected" + std::to_string(++run) + c.extension;
        const std::string output = "out" + std::to_string(run) + c.extension;
        SCOPED_TRACE(output);
        ASSERT_EQ(Program_test::run(synthesis_into(expected)).exit_status, 0);
        Started_program program(synthesis_into(output), folder.root, c.options);
        const Program_result result = program.finish();
        EXPECT_EQ(result.exit_status, 0);
        EXPECT_EQ(result.standard_error, "");
        const std::uint64_t size = c.extension == ".syx" ? 64 : 65536;
        EXPECT_EQ(result.standard_output,
                  c.prints ? success_report("spectrum.txt", output, size) : "");
        EXPECT_TRUE(read_file(folder.path(output)) == read_file(folder.path(expected)))
            << "not the file of a normal run";
    }
}

TEST_F(Interrupted_run, TextsThatCannotBeWrittenFail)
{
    folder.write("spectrum.txt", saw_spectrum(8));
    ASSERT_EQ(run({"-i", "spectrum.txt", "-t", "harm", "-o", "bank.syx"}).exit_status, 0);
    Start_options full;
    full.output = Output_to::full_device;
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"-l", "bank.syx"}, {"-h"}, {"-v"}}) {
        SCOPED_TRACE(arguments[0]);
        Started_program program(arguments, folder.root, full);
        const Program_result result = program.finish();
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_error,
                  "Tonalith ERROR: standard output could not be written: No space left on "
                  "device.\n");
    }
}

}  // namespace
}  // namespace Vemo::testing
