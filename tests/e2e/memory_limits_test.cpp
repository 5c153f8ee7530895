// Whatever memory a run is allowed, it ends in a conversion or in a report:
// never killed by a signal, never a library's line on standard error. And
// the text readers hold the values, not the lines.

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"
#include "support/sound_files.hpp"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>

namespace Vemo::testing {
namespace {

using Memory_limits = Program_test;

/// Address-space limits cannot hold under AddressSanitizer, which reserves
/// terabytes of it for its shadow memory. The program and the tests are
/// built with the same options, so the tests' own build tells.
constexpr bool built_with_address_sanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

Program_result run_limited(const Temp_folder& where, const std::vector<std::string>& arguments,
                           unsigned long address_space)
{
    Start_options options;
    options.address_space_limit = address_space;
    return Started_program(arguments, where.root, options).finish();
}

/// The smallest address space, in steps of 64 KiB, in which the program
/// starts at all: below it the dynamic loader fails before the program runs.
unsigned long smallest_start(const Temp_folder& where)
{
    unsigned long fails = 1ul << 20;
    unsigned long starts = 256ul << 20;
    while (starts - fails > (64ul << 10)) {
        const unsigned long middle = (fails + starts) / 2;
        (run_limited(where, {"-h"}, middle).exit_status == 0 ? starts : fails) = middle;
    }
    return starts;
}

TEST_F(Memory_limits, EveryAddressSpaceLimitEndsInAConversionOrAReport)
{
    if (built_with_address_sanitizer())
        GTEST_SKIP() << "AddressSanitizer needs more address space than any limit leaves; "
                        "address-space limits are tested in the build without sanitizers.";
    write_sound(folder.path("long.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100,
                sine_cycle(65536, {1, 0.5, 0.25}));
    write_sound(folder.path("short.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100,
                sine_cycle(4096, {1, 0.5}));
    folder.write("spectrum.txt", "1\n0.5\n0.25\n");
    folder.write("wave.txt", values_text(sine_cycle(65536, {1, 0, 0.3})));
    // 256 waves of 2048 samples; libsndfile's decoders take their memory as
    // the file is opened, sought in and read.
    std::vector<double> table;
    for (int wave = 0; wave < 256; ++wave) {
        const std::vector<double> cycle = sine_cycle(2048, {0.5, wave / 512.0, 0.1});
        table.insert(table.end(), cycle.begin(), cycle.end());
    }
    write_sound(folder.path("table.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 44100, table);
    write_sound(folder.path("table.ogg"), SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1, 44100, table);

    struct Case {
        std::string name;
        std::vector<std::string> arguments;
        std::string output;
        /// What the run gives without a limit.
        Program_result unlimited{};
        std::string output_bytes{};
        int conversions = 0;
    };
    Case cases[] = {
        {"analysis of 65536 samples", {"-i", "long.wav", "-o", "out.syx"}, "out.syx", {}, {}},
        {"resize from 4096 to 8192 samples", {"-i", "short.wav", "-o", "out.wav", "-s", "8192"},
         "out.wav", {}, {}},
        {"synthesis of 65536 samples",
         {"-i", "spectrum.txt", "-t", "harm", "-o", "out.wav", "-T", "wave", "-s", "65536"},
         "out.wav", {}, {}},
        {"text of 65536 values to a spectrum",
         {"-i", "wave.txt", "-t", "wave", "-o", "out.txt", "-T", "harm", "-s", "65536"},
         "out.txt", {}, {}},
        {"wave 200 of a FLAC wavetable",
         {"-i", "table.flac", "-f", "audio", "-S", "2048", "-w", "200", "-o", "out.txt", "-T",
          "wave", "-s", "64"},
         "out.txt", {}, {}},
        {"wave 200 of an Ogg Vorbis wavetable",
         {"-i", "table.ogg", "-f", "audio", "-S", "2048", "-w", "200", "-o", "out.txt", "-T",
          "wave", "-s", "64"},
         "out.txt", {}, {}},
    };
    // What libsndfile says when its decoder could not get memory.
    const std::string library_messages[] = {"does not exist", "malformed", "malloc"};
    for (Case& c : cases) {
        c.unlimited = run(c.arguments);
        ASSERT_EQ(c.unlimited.exit_status, 0) << c.name;
        c.output_bytes = read_file(folder.path(c.output));
        std::remove(folder.path(c.output).c_str());
    }

    // From the smallest address space the program starts in, to well above
    // what each of these runs needs.
    const unsigned long start = smallest_start(folder);
    const unsigned long step = 256ul << 10;
    const unsigned long end = start + (16ul << 20);
    int limits = 0;
    for (unsigned long limit = start; limit <= end; limit += step, ++limits)
        for (Case& c : cases) {
            SCOPED_TRACE(c.name + " in " + std::to_string(limit >> 10) + " KiB");
            const Program_result result = run_limited(folder, c.arguments, limit);
            EXPECT_EQ(result.standard_error, "");
            if (result.exit_status == 0) {
                ++c.conversions;
                EXPECT_EQ(result.standard_output, c.unlimited.standard_output);
                EXPECT_EQ(read_file(folder.path(c.output)), c.output_bytes);
            } else {
                EXPECT_EQ(result.exit_status, 1) << "ended by signal " << result.exit_status - 128;
                EXPECT_NE(result.standard_output.find("Tonalith ERROR:\n"), std::string::npos)
                    << result.standard_output;
                for (const std::string& message : library_messages)
                    EXPECT_EQ(result.standard_output.find(message), std::string::npos)
                        << result.standard_output;
                EXPECT_FALSE(file_exists(folder.path(c.output)));
            }
            std::remove(folder.path(c.output).c_str());
        }
    for (const Case& c : cases) {
        EXPECT_GT(c.conversions, limits / 2) << c.name << " did not convert in most limits";
        std::cout << c.name << ": converted in " << c.conversions << " of " << limits
                  << " limits from " << (start >> 10) << " KiB in steps of " << (step >> 10)
                  << " KiB, reported in the others\n";
    }
}

TEST_F(Memory_limits, AListingPrintsEachNameAsItIsMade)
{
    if (built_with_address_sanitizer())
        GTEST_SKIP() << "AddressSanitizer needs more address space than any limit leaves; "
                        "address-space limits are tested in the build without sanitizers.";
    // Two million waves of one sample each: their names take far more than
    // the few megabytes the run is given beyond what it needs to start, but
    // none of them is held once it is printed.
    write_sound(folder.path("long.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100,
                std::vector<double>(2000000, 0.25));
    const Program_result result =
        run_limited(folder, {"-S", "1", "-l", "long.wav"}, smallest_start(folder) + (32ul << 20));
    EXPECT_EQ(result.exit_status, 0);
    const std::string& listing = result.standard_output;
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 2000001);
    EXPECT_TRUE(listing.starts_with("Tonalith: listing waveforms from file long.wav:\n"
                                    "0 frame#1\n1 frame#2\n"));
    EXPECT_TRUE(listing.ends_with("\n1999999 frame#2000000\n"));
    EXPECT_EQ(result.standard_error, "");
}

/// Writes `before`, `count` times `filler` and `after` as the file `path`,
/// without holding it all: what the test holds counts in the program's peak.
void write_long_file(const std::string& path, const std::string& before, char filler,
                     std::size_t count, const std::string& after)
{
    std::ofstream file(path, std::ios::binary);
    file << before;
    const std::string piece(1 << 20, filler);
    for (std::size_t left = count; left > 0; left -= std::min(left, piece.size()))
        file.write(piece.data(), static_cast<std::streamsize>(std::min(left, piece.size())));
    file << after;
}

TEST_F(Memory_limits, LongLinesCostNoMoreMemoryThanShortOnes)
{
    const std::size_t long_line = 64 << 20;
    const std::string header = "======= TABLE 1 size: 2 values ======\nflenfrms: 2\nnchnls: 1\n"
                               "---------END OF HEADER--------------\n";
    struct Case {
        std::string input;
        std::string before;
        char filler;
        std::size_t count;
        std::string after;
        std::string report;
    };
    const Case cases[] = {
        {"in.txt", "0.5\n-0.25\n", ' ', 0, "", success_report("in.txt", "out.txt", 2)},
        {"in.txt", "0.5", ' ', long_line, "\n-0.25\n", success_report("in.txt", "out.txt", 2)},
        {"in.txt", "", ' ', long_line, "0.5\n-0.25\n", success_report("in.txt", "out.txt", 2)},
        {"in.txt", "", '\0', long_line, "", error_report("in.txt: line 1 does not hold a number.")},
        {"in.txt", "1", '0', long_line, "\n", error_report("in.txt: line 1 does not hold a number.")},
        {"in.ftable", header + "0.5", ' ', long_line, "\n-0.25\n0.5\n",
         success_report("in.ftable", "out.txt", 2)},
    };
    long short_lines_peak = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input + " with " + std::to_string(c.count) + " bytes of " +
                     std::to_string(static_cast<int>(c.filler)) + " after " + c.before.substr(0, 8));
        write_long_file(folder.path(c.input), c.before, c.filler, c.count, c.after);
        const Program_result result =
            run({"-i", c.input, "-t", "harm", "-o", "out.txt", "-T", "harm", "-s", "2"});
        EXPECT_EQ(result.standard_output, c.report);
        if (result.exit_status == 0) {
            EXPECT_EQ(read_file(folder.path("out.txt")), "0.5\n-0.25\n");
        }
        if (short_lines_peak == 0)
            short_lines_peak = result.peak_memory_kib;
        // Far below the 64 MiB of the line; the sanitizers' own bookkeeping
        // varies by a megabyte or so from run to run.
        EXPECT_LT(result.peak_memory_kib, short_lines_peak + 4096);
        std::remove(folder.path(c.input).c_str());
        std::remove(folder.path("out.txt").c_str());
    }
}

}  // namespace
}  // namespace Vemo::testing
