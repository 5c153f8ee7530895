// Text output as a real Csound reads it: GEN23 loads the file into a table,
// ftsave writes the table back out in text mode, and the table must hold
// every value the program wrote, the last one included.

#include "e2e/program_test.hpp"

#include <cstdlib>
#include <fstream>

namespace Vemo::testing {
namespace {

bool csound_is_installed()
{
    return std::system("command -v csound > /dev/null 2>&1") == 0;
}

/// A Csound orchestra and score that load `text` with GEN23 as table 1 and
/// save that table in text mode to `saved`.
std::string gen23_csd(const std::string& text, const std::string& saved)
{
    return "<CsoundSynthesizer>\n<CsOptions>\n-n -d -m0\n</CsOptions>\n<CsInstruments>\n"
           "instr 1\n  ftsave \"" + saved + "\", 1, 1\nendin\n</CsInstruments>\n<CsScore>\n"
           "f 1 0 0 -23 \"" + text + "\"\ni 1 0 0\ne\n</CsScore>\n</CsoundSynthesizer>\n";
}

/// The values of the first table in a file that ftsave wrote in text mode,
/// without the guard point; none when Csound wrote no file.
std::vector<double> saved_table(const std::string& path)
{
    std::ifstream file(path);
    std::string line;
    std::size_t size = 0;
    while (std::getline(file, line) && line != "---------END OF HEADER--------------")
        if (line.rfind("flen: ", 0) == 0)
            size = std::stoul(line.substr(6));
    std::vector<double> values;
    while (values.size() < size && std::getline(file, line))
        values.push_back(std::stod(line));
    return values;
}

using Csound_reads_text_output = Program_test;

TEST_F(Csound_reads_text_output, Gen23LoadsEveryValueWritten)
{
    if (!csound_is_installed())
        GTEST_SKIP() << "csound is not installed (Debian package csound), so Csound's reading "
                        "of the text output is not checked";
    for (const std::size_t count : {1u, 7u, 64u}) {
        std::vector<double> amplitudes(count);
        for (std::size_t k = 0; k < count; ++k)
            amplitudes[k] = 1.0 / static_cast<double>(k + 1);
        const std::string name = std::to_string(count);
        folder.write("in" + name + ".txt", values_text(amplitudes));
        ASSERT_EQ(run({"-i", "in" + name + ".txt", "-t", "harm", "-o", "out" + name + ".txt",
                       "-T", "harm", "-s", name, "-z", "0"})
                      .exit_status,
                  0);
        folder.write("load" + name + ".csd",
                     gen23_csd("out" + name + ".txt", "table" + name + ".ftable"));
        const std::string command = "cd '" + folder.root + "' && csound load" + name +
                                    ".csd < /dev/null > csound" + name + ".log 2>&1";
        const int csound_status = std::system(command.c_str());

        const std::vector<double> written = read_values(folder.path("out" + name + ".txt"));
        const std::vector<double> loaded = saved_table(folder.path("table" + name + ".ftable"));
        ASSERT_EQ(written.size(), count);
        ASSERT_EQ(loaded.size(), count)
            << "csound ended with " << csound_status << ":\n"
            << read_file(folder.path("csound" + name + ".log"));
        // ftsave prints six decimals.
        for (std::size_t k = 0; k < count; ++k)
            EXPECT_NEAR(loaded[k], written[k], 0.5e-6 + 1e-12) << count << " values, value " << k;
    }
}

}  // namespace
}  // namespace Vemo::testing
