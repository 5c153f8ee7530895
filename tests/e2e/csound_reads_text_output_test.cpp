// Text output as a real Csound reads it: GEN23 loads the file into a table
// and ftsave writes the table out, which must hold every value written.

#include "e2e/program_test.hpp"

#include <fstream>

namespace Vemo::testing {
namespace {

/// The size of the table in a file that ftsave wrote in text mode; 0 when
/// there is no such file.
std::size_t saved_table_size(const std::string& path)
{
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        if (line.rfind("flen: ", 0) == 0)
            return std::stoul(line.substr(6));
    return 0;
}

using Csound_reads_text_output = Program_test;

TEST_F(Csound_reads_text_output, Gen23LoadsEveryValueWritten)
{
    if (!installed("csound"))
        GTEST_SKIP() << "csound is not installed (Debian package csound): Csound's reading "
                        "of the text output is not checked";
    folder.write("in.txt", "1\n0.5\n");
    for (const std::string count : {"1", "7", "64"}) {
        const std::string text = "out" + count + ".txt";
        ASSERT_EQ(run({"-i", "in.txt", "-t", "harm", "-o", text, "-T", "harm", "-s", count})
                      .exit_status,
                  0);
        folder.write("load.csd", "<CsoundSynthesizer>\n<CsInstruments>\ninstr 1\nftsave \"" +
                                     text + ".ftable\", 1, 1\nendin\n</CsInstruments>\n"
                                     "<CsScore>\nf 1 0 0 -23 \"" + text + "\"\ni 1 0 0\n"
                                     "</CsScore>\n</CsoundSynthesizer>\n");
        const int status = run_peer("csound -n -d load.csd", "csound.log");
        EXPECT_EQ(saved_table_size(folder.path(text + ".ftable")), std::stoul(count))
            << "csound ended with " << status << ":\n" << read_file(folder.path("csound.log"));
    }
}

}  // namespace
}  // namespace Vemo::testing
