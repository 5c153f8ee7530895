#pragma once

#include "e2e/run_program.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace Vemo::testing {

/// A test that runs the built program in a fresh temporary folder and checks
/// that nothing ever reaches standard error.
class Program_test : public ::testing::Test {
protected:
    Temp_folder folder;

    /// Runs the program in `folder`; a `file_size_limit` above 0 holds in
    /// the started program only.
    Program_result run(const std::vector<std::string>& arguments, unsigned long file_size_limit = 0)
    {
        return run_in(folder, arguments, file_size_limit);
    }

    /// Runs the program in another folder, with the same checks.
    static Program_result run_in(const Temp_folder& where,
                                 const std::vector<std::string>& arguments,
                                 unsigned long file_size_limit = 0)
    {
        Program_result result = run_program(arguments, where.root, file_size_limit);
        EXPECT_EQ(result.standard_error, "") << "nothing may go to standard error";
        return result;
    }

    /// Whether `program`, a real peer that a test plays against, is installed.
    static bool installed(const std::string& program)
    {
        return std::system(("command -v " + program + " > /dev/null 2>&1").c_str()) == 0;
    }

    /// Runs the shell command `peer_command` in `folder` without input, its
    /// output in the folder's file `log`; returns the shell's status.
    int run_peer(const std::string& peer_command, const std::string& log)
    {
        return std::system(
            ("cd '" + folder.root + "' && " + peer_command + " < /dev/null > " + log + " 2>&1")
                .c_str());
    }

    /// The listing of a wavetable: the header and one line per wave,
    /// "0 frame#1" and so on.
    static std::string frame_listing(const std::string& file, std::size_t waves)
    {
        std::string listing = "Tonalith: listing waveforms from file " + file + ":\n";
        for (std::size_t i = 0; i < waves; ++i)
            listing += std::to_string(i) + " frame#" + std::to_string(i + 1) + "\n";
        return listing;
    }

    /// The two lines that report a completed conversion.
    static std::string success_report(const std::string& input, const std::string& output,
                                      std::uint64_t samples, unsigned sample_rate = 44100)
    {
        return "Converting to " + std::to_string(sample_rate) + "Hz\nConverted Wave from  file " +
               input + "\nto wave  file " + output + " with " + std::to_string(samples) +
               " samples.\n";
    }
};

}  // namespace Vemo::testing
