// Microwave II/XT wave dumps as a user meets them: storing a wave or a
// spectrum as a user wave, listing the waves of a dump file, reading one of
// them, and the refusals that come with it.

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"
#include "support/wave_dump_bytes.hpp"

#include <boost/filesystem.hpp>

#include <cmath>
#include <numbers>
#include <sstream>

namespace Vemo::testing {
namespace {

/// Bytes written as blank-separated hexadecimal pairs.
std::string hex_bytes(const std::string& text)
{
    std::istringstream pairs(text);
    std::string bytes;
    for (unsigned value = 0; pairs >> std::hex >> value;)
        bytes += static_cast<char>(value);
    return bytes;
}

/// User wave 1000 holding one sine at full scale, as the synthesizer expects it.
const std::string one_harmonic_file = hex_bytes(
    "F0 3E 0E 7F 12 07 68"
    " 08 03 08 09 09 00 09 06 09 0C 0A 02 0A 08 0A 0E 0B 03 0B 09 0B 0F 0C 04"
    " 0C 09 0C 0E 0D 03 0D 08 0D 0C 0E 00 0E 04 0E 08 0E 0B 0E 0F 0F 01 0F 04"
    " 0F 07 0F 09 0F 0A 0F 0C 0F 0D 0F 0E 0F 0F 0F 0F 0F 0F 0F 0F 0F 0E 0F 0D"
    " 0F 0C 0F 0A 0F 09 0F 07 0F 04 0F 01 0E 0F 0E 0B 0E 08 0E 04 0E 00 0D 0C"
    " 0D 08 0D 03 0C 0E 0C 09 0C 04 0B 0F 0B 09 0B 03 0A 0E 0A 08 0A 02 09 0C"
    " 09 06 09 00 08 09 08 03"
    " 3C F7");

class Wave_dump : public Program_test {
protected:
    /// Three waves among other SysEx data: user wave 1000 (a sine), ROM
    /// wave 0 (silent, device number 00), wave 344 (all sample bytes 00, a
    /// square), and a last wave dump that the file cuts off.
    std::string write_bank(const std::string& name)
    {
        return folder.write(name, other_mw2_message + wave_dump(1000, one_harmonic_codes) +
                                      other_sysex + silent_wave_dump(0, 0x00) +
                                      std::string("\x00\x01", 2) +
                                      wave_dump(344, std::vector<int>(64, 0x00)) + other_sysex +
                                      silent_wave_dump(1001).substr(0, 134));
    }
};

TEST_F(Wave_dump, StoresOneHarmonicAsTheKnownMessage)
{
    ASSERT_EQ(one_harmonic_file.size(), 137u);
    folder.write("one.txt", "1\n");
    folder.write("sine.txt", values_text(sine_cycle(256, {1})));
    write_bank("bank.syx");
    struct Case {
        std::vector<std::string> arguments;
        std::uint8_t number_high;
        std::uint8_t number_low;
    };
    // Always 64 harmonics, as user wave 1000 unless -W names another.
    const Case cases[] = {
        {{"-i", "one.txt", "-t", "harm"}, 0x07, 0x68},
        {{"-i", "sine.txt", "-t", "wave"}, 0x07, 0x68},
        {{"-i", "one.txt", "-t", "harm", "-W", "1249", "-s", "128"}, 0x09, 0x61},
        {{"-i", "one.txt", "-t", "harm", "-W", "16383"}, 0x7F, 0x7F},
        {{"-i", "bank.syx", "-W", "1001", "-z", "0.01"}, 0x07, 0x69},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-o", "out.syx"});
        const Program_result result = run(arguments);
        EXPECT_EQ(result.exit_status, 0);
        EXPECT_EQ(result.standard_output, success_report(c.arguments[1], "out.syx", 64));
        std::string expected = one_harmonic_file;
        expected[5] = static_cast<char>(c.number_high);
        expected[6] = static_cast<char>(c.number_low);
        EXPECT_EQ(read_file(folder.path("out.syx")), expected) << c.arguments[1];
        boost::filesystem::remove(folder.path("out.syx"));
    }
}

TEST_F(Wave_dump, RefusedWaveNumbersLeaveNoFileBehind)
{
    folder.write("one.txt", "1\n");
    const std::pair<std::string, std::string> cases[] = {
        {"999", "Can't write wave number 999 It's not a user wave. User waves start at 1000."},
        {"16384",
         "Can't write wave number 16384 It doesn't fit into a wave dump. Wave numbers end at "
         "16383."},
    };
    for (const auto& [number, message] : cases) {
        const Program_result result =
            run({"-i", "one.txt", "-t", "harm", "-o", "one.syx", "-W", number});
        EXPECT_EQ(result.exit_status, 1) << number;
        EXPECT_EQ(result.standard_output, "Converting to 44100Hz\n" + error_report(message));
        EXPECT_FALSE(file_exists(folder.path("one.syx"))) << number;
    }
}

TEST_F(Wave_dump, AWavetableDumpComesFirstAndPlaysTheWavesWritten)
{
    folder.write("one.txt", "1\n0.5\n");
    for (const std::uint64_t waves : {1u, 2u, 4u, 7u, 61u}) {
        SCOPED_TRACE(std::to_string(waves) + " waves");
        const std::string output = "table" + std::to_string(waves) + ".syx";
        ASSERT_EQ(run({"-i", "one.txt", "-t", "harm", "-n", std::to_string(waves), "-o", output,
                       "-W", "1005", "-X", "100"})
                      .exit_status,
                  0);
        // The entries as the synth's own tables spread their waves: first at
        // 0, last at 60, every other entry FFFF; the check byte sums the
        // 256 entry bytes.
        std::vector<int> entries(64, 0xFFFF);
        for (std::uint64_t k = 0; k < waves; ++k)
            entries[waves == 1 ? 0 : (120 * k + waves - 1) / (2 * (waves - 1))] =
                static_cast<int>(1005 + k);
        std::string expected = hex_bytes("F0 3E 0E 7F 13 00 64");
        int sum = 0;
        for (const int entry : entries)
            for (const int shift : {12, 8, 4, 0}) {
                expected += static_cast<char>(entry >> shift & 0xF);
                sum += entry >> shift & 0xF;
            }
        expected += static_cast<char>(sum & 0x7F);
        expected += '\xF7';
        const std::string file = read_file(folder.path(output));
        ASSERT_EQ(file.size(), 265 + 137 * waves);
        EXPECT_TRUE(file.substr(0, 265) == expected);
        std::string listing = "Tonalith: listing waveforms from file " + output + ":\n";
        for (std::uint64_t k = 0; k < waves; ++k)
            listing += std::to_string(k) + " USER#" + std::to_string(6 + k) + "\n";
        EXPECT_EQ(run({"-l", output}).standard_output, listing);
    }

    const std::vector<std::string> before = folder.names();
    const std::pair<std::vector<std::string>, std::string> refusals[] = {
        {{"-o", "t.syx", "-X", "95"}, "Microwave II/XT user wavetables are numbered 96 to 127."},
        {{"-o", "t.syx", "-X", "128"}, "Microwave II/XT user wavetables are numbered 96 to 127."},
        {{"-o", "t.txt", "-T", "harm", "-s", "8", "-X", "96"}, "--output_table needs a mw2 output."},
        {{"-o", "t.syx", "-X", "96", "-n", "62"},
         "A Microwave II/XT wavetable holds at most 61 waves; this table has 62. --wave_count 61 "
         "makes it fit."},
    };
    for (const auto& [arguments, message] : refusals) {
        std::vector<std::string> all{"-i", "one.txt", "-t", "harm"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        EXPECT_EQ(run(all).standard_output, error_report(message));
        EXPECT_EQ(folder.names(), before) << message;
    }
}

TEST_F(Wave_dump, ListsEveryCompleteWaveDumpOfAFile)
{
    write_bank("bank.syx");
    write_bank("bank.bin");
    const std::string listing = "0 USER#1\n1 ROM#1\n2 illegal#344\n";
    struct Case {
        std::vector<std::string> arguments;
        std::string file;
    };
    const Case cases[] = {
        {{"-l", "bank.syx"}, "bank.syx"},
        {{"--list", "bank.bin", "-f", "mw2"}, "bank.bin"},
        // A dump is always read as waves, whatever type is asked for.
        {{"-l", "bank.syx", "-t", "harm"}, "bank.syx"},
    };
    for (const Case& c : cases) {
        const Program_result result = run(c.arguments);
        EXPECT_EQ(result.exit_status, 0);
        EXPECT_EQ(result.standard_output,
                  "Tonalith: listing waveforms from file " + c.file + ":\n" + listing);
    }
}

TEST_F(Wave_dump, ReadsTheSelectedWave)
{
    write_bank("bank.syx");
    struct Case {
        std::vector<std::string> selection;
        std::vector<double> spectrum;
    };
    // The square's odd harmonics fall off as 1 / sin(pi k / 128) does.
    const double third = std::sin(std::numbers::pi / 128) / std::sin(3 * std::numbers::pi / 128);
    const Case cases[] = {
        {{}, {1, 0, 0}},
        {{"-w", "0"}, {1, 0, 0}},
        {{"-w", "1"}, {0, 0, 0}},
        {{"--input_wave", "2"}, {1, 0, third}},
    };
    int run_number = 0;
    for (const Case& c : cases) {
        const std::string output = "h" + std::to_string(run_number++) + ".txt";
        std::vector<std::string> arguments = {"-i", "bank.syx", "-o", output, "-T", "harm",
                                              "-s", "3", "-z", "0.01"};
        arguments.insert(arguments.end(), c.selection.begin(), c.selection.end());
        const Program_result result = run(arguments);
        EXPECT_EQ(result.exit_status, 0);
        EXPECT_EQ(result.standard_output, success_report("bank.syx", output, 3));
        const std::vector<double> spectrum = read_values(folder.path(output));
        ASSERT_EQ(spectrum.size(), 3u);
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_NEAR(spectrum[k], c.spectrum[k], 1e-6) << output << " harmonic " << k + 1;
    }
}

TEST_F(Wave_dump, NamesTheWavesThereAreForAWaveNumberBeyondThem)
{
    write_bank("bank.syx");
    for (const std::string number : {"3", "4294967295"}) {
        const Program_result result =
            run({"-i", "bank.syx", "-w", number, "-o", "out.txt", "-T", "wave", "-s", "128"});
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_output,
                  error_report("bank.syx has no wave " + number +
                               "; its waves are numbered 0 to 2."));
        EXPECT_FALSE(file_exists(folder.path("out.txt")));
    }
}

TEST_F(Wave_dump, RefusesFilesWithoutACompleteWaveDump)
{
    const std::string dump = silent_wave_dump(1000);
    struct Case {
        std::string name;
        std::string bytes;
    };
    const Case cases[] = {
        {"text.syx", "0\n1\n0\n-1\n"},
        {"short.syx", std::string("\xF0\x3E\x0E", 3)},
        {"late.syx", other_sysex + dump},
        {"model.syx", std::string("\xF0\x3E\x0F\x12", 4) + dump},
        {"other.syx", other_mw2_message + other_sysex},
        {"cut.syx", other_mw2_message + dump.substr(0, 134)},
    };
    for (const Case& c : cases) {
        folder.write(c.name, c.bytes);
        const std::string message = c.name + " does not contain valid Microwave II/XT waveforms.";
        const Program_result listing = run({"-l", c.name});
        EXPECT_EQ(listing.exit_status, 1) << c.name;
        EXPECT_EQ(listing.standard_output, error_report(message));
        const Program_result reading =
            run({"-i", c.name, "-o", "out.txt", "-T", "wave", "-s", "128"});
        EXPECT_EQ(reading.exit_status, 1) << c.name;
        EXPECT_EQ(reading.standard_output, error_report(message));
        EXPECT_FALSE(file_exists(folder.path("out.txt")));
    }
}

TEST_F(Wave_dump, SpectrumSurvivesTheRoundTripThroughADump)
{
    const std::vector<double> harmonics = {0.8, 0.0, -0.4, 0.2, 0.0, 0.1, 0.0, 0.05};
    folder.write("spectrum.txt", values_text(harmonics));
    ASSERT_EQ(run({"-i", "spectrum.txt", "-t", "harm", "-o", "wave.syx"}).exit_status, 0);
    ASSERT_EQ(
        run({"-i", "wave.syx", "-o", "wave.txt", "-T", "wave", "-s", "128"}).exit_status, 0);
    ASSERT_EQ(run({"-i", "wave.txt", "-t", "wave", "-o", "back.txt", "-T", "harm", "-s", "64"})
                  .exit_status,
              0);

    // The cycle the dump implies: the sum of sines at the sample centres,
    // at full scale, quantised to 127 steps, the second half mirrored.
    std::vector<double> implied(128);
    double peak = 0.0;
    for (std::size_t i = 0; i < 64; ++i) {
        for (std::size_t j = 0; j < harmonics.size(); ++j)
            implied[i] += harmonics[j] * std::sin(2 * std::numbers::pi * (j + 1) * (i + 0.5) / 128);
        peak = std::max(peak, std::fabs(implied[i]));
    }
    for (std::size_t i = 0; i < 64; ++i) {
        implied[i] = std::round(implied[i] / peak * 127) / 127;
        implied[127 - i] = -implied[i];
    }
    const std::vector<double> cycle = read_values(folder.path("wave.txt"));
    ASSERT_EQ(cycle.size(), 128u);
    // Well within half a quantisation step (1/254): each sample is its code.
    for (std::size_t i = 0; i < 128; ++i)
        EXPECT_NEAR(cycle[i], implied[i], 1e-3) << "sample " << i;

    const std::vector<double> spectrum = read_values(folder.path("back.txt"));
    ASSERT_EQ(spectrum.size(), 64u);
    for (std::size_t j = 0; j < 64; ++j) {
        const double original = j < harmonics.size() ? std::fabs(harmonics[j]) / 0.8 : 0.0;
        EXPECT_NEAR(spectrum[j], original, 0.01) << "harmonic " << j + 1;
    }
}

}  // namespace
}  // namespace Vemo::testing
