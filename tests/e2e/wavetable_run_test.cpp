// Whole wavetables in one run: every wave of a table, or of several inputs,
// converted alike, kept at their levels by one gain, and written as one
// table that our own reader lists and reads back wave for wave.

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"
#include "support/sound_files.hpp"
#include "support/wavetable_files.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Vemo::testing {
namespace {

const int pcm_16_wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

/// Three smooth waves that fade in, as tables that morph often do: each is a
/// few harmonics at the level given.
struct Fading_table {
    std::vector<std::vector<double>> harmonics = {{1, 0.5}, {1, 0, 0.3}, {1, 0.2, 0.1, 0.05}};
    std::vector<double> levels = {0.015625, 0.5, 1.0};

    std::vector<double> wave(std::size_t k, std::size_t size) const
    {
        std::vector<double> cycle = sine_cycle(size, harmonics[k]);
        for (double& value : cycle)
            value *= levels[k];
        return cycle;
    }
    std::vector<double> all(std::size_t size) const
    {
        std::vector<double> table;
        for (std::size_t k = 0; k < levels.size(); ++k) {
            const std::vector<double> cycle = wave(k, size);
            table.insert(table.end(), cycle.begin(), cycle.end());
        }
        return table;
    }
};

/// Wave `k` of `size` values of `values`.
std::vector<double> wave_of(const std::vector<double>& values, std::size_t k, std::size_t size)
{
    return {values.begin() + static_cast<std::ptrdiff_t>(k * size),
            values.begin() + static_cast<std::ptrdiff_t>((k + 1) * size)};
}

double peak(const std::vector<double>& values)
{
    double largest = 0.0;
    for (const double value : values)
        largest = std::max(largest, std::fabs(value));
    return largest;
}

std::string table_report(const std::vector<std::string>& inputs, const std::string& output,
                         std::uint64_t values)
{
    std::string report = "Converting to 44100Hz\n";
    for (const std::string& input : inputs)
        report += "Converted Wave from  file " + input + "\n";
    return report + "to wave  file " + output + " with " + std::to_string(values) + " samples.\n";
}

class Wavetable_run : public Program_test {
protected:
    const Fading_table fading{};
    void SetUp() override
    {
        write_tagged_sound(folder.path("tagged.wav"), pcm_16_wav, fading.all(256),
                           {"<!>256 10000000 wavetable (test)", 0, {}, 0, 0});
        write_tagged_sound(folder.path("bank.wav"), pcm_16_wav, fading.all(256), {});
        for (std::size_t k = 0; k < 3; ++k)
            folder.write("c" + std::to_string(k) + ".txt", values_text(fading.wave(k, 256)));
    }
};

TEST_F(Wavetable_run, EveryWaveIsResizedAndKeepsItsLevel)
{
    const std::vector<std::vector<std::string>> inputs = {
        {"-i", "tagged.wav", "-a"},
        {"-i", "bank.wav", "-S", "256", "-a"},
        {"-i", "c0.txt", "-i", "c1.txt", "-i", "c2.txt", "-t", "wave"},
        {"-i", "bank.wav", "-S", "256", "-n", "3"},
    };
    for (std::vector<std::string> arguments : inputs) {
        SCOPED_TRACE(arguments[1] + " " + arguments[2]);
        arguments.insert(arguments.end(), {"-o", "table.txt", "-T", "wave", "-s", "2048"});
        ASSERT_EQ(run(arguments).exit_status, 0);
        const std::vector<double> table = read_values(folder.path("table.txt"));
        ASSERT_EQ(table.size(), 3u * 2048);
        // A band-limited resize of a smooth cycle is that cycle at the new
        // size; the 16-bit input and six digits of text leave 1e-4 or so.
        for (std::size_t k = 0; k < 3; ++k) {
            const std::vector<double> expected = fading.wave(k, 2048);
            const std::vector<double> got = wave_of(table, k, 2048);
            for (std::size_t j = 0; j < 2048; j += 7)
                ASSERT_NEAR(got[j], expected[j], 2e-4) << "wave " << k << " sample " << j;
        }
        EXPECT_EQ(peak(table), 1.0);
        std::remove(folder.path("table.txt").c_str());
    }
}

TEST_F(Wavetable_run, SpectraShareOneGainAndTheThresholdFollowsIt)
{
    ASSERT_EQ(run({"-i", "tagged.wav", "-a", "-o", "spectra.txt", "-T", "harm", "-s", "8"})
                  .standard_output,
              table_report({"tagged.wav"}, "spectra.txt", 24));
    const std::vector<double> spectra = read_values(folder.path("spectra.txt"));
    const std::vector<double> samples = read_sound(folder.path("tagged.wav")).samples;
    std::vector<std::vector<long double>> magnitudes;
    long double strongest = 0.0L;
    for (std::size_t k = 0; k < 3; ++k) {
        magnitudes.push_back(dft_magnitudes(wave_of(samples, k, 256), 8));
        strongest = std::max(strongest, *std::max_element(magnitudes[k].begin(), magnitudes[k].end()));
    }
    for (std::size_t k = 0; k < 3; ++k)
        for (std::size_t h = 0; h < 8; ++h) {
            const double expected = static_cast<double>(magnitudes[k][h] / strongest);
            EXPECT_NEAR(spectra[k * 8 + h], expected < 1e-5 ? 0.0 : expected, 1e-6 + 1e-5 * expected)
                << "wave " << k << " harmonic " << h + 1;
        }
}

TEST_F(Wavetable_run, WaveCountCrossfadesNeighboursAtTheirPositions)
{
    // No resize (-s 256), so the output is the crossfade itself, over one gain.
    for (const std::uint32_t count : {1u, 2u, 5u, 7u}) {
        SCOPED_TRACE(std::to_string(count) + " waves");
        const std::string output = "spread" + std::to_string(count) + ".txt";
        ASSERT_EQ(run({"-i", "c0.txt", "-i", "c1.txt", "-i", "c2.txt", "-t", "wave", "-n",
                       std::to_string(count), "-o", output, "-T", "wave", "-s", "256"})
                      .exit_status,
                  0);
        std::vector<double> expected;
        for (std::uint32_t j = 0; j < count; ++j) {
            const double p = count == 1 ? 0.0 : 2.0 * j / (count - 1);
            const auto k = static_cast<std::size_t>(p);
            const double f = p - static_cast<double>(k);
            const std::vector<double> before = fading.wave(k, 256);
            const std::vector<double> after = fading.wave(std::min<std::size_t>(k + 1, 2), 256);
            for (std::size_t i = 0; i < 256; ++i)
                expected.push_back((1 - f) * before[i] + f * after[i]);
        }
        const double gain = peak(expected);
        const std::vector<double> got = read_values(folder.path(output));
        ASSERT_EQ(got.size(), expected.size());
        for (std::size_t i = 0; i < got.size(); ++i)
            ASSERT_NEAR(got[i], expected[i] / gain, 1e-5) << "value " << i;
    }
}

TEST_F(Wavetable_run, ASilentWaveStaysSilentAndASilentTableToo)
{
    folder.write("silent.txt", values_text(std::vector<double>(256, 0.0)));
    const std::pair<std::vector<std::string>, std::vector<double>> cases[] = {
        {{"-i", "c1.txt", "-i", "silent.txt"}, {1.0, 0.0}},
        {{"-i", "silent.txt", "-i", "silent.txt"}, {0.0, 0.0}},
    };
    for (const std::string type : {"wave", "harm"})
        for (auto [arguments, peaks] : cases) {
            arguments.insert(arguments.end(), {"-t", "wave", "-o", type + ".txt", "-T", type,
                                               "-s", "128"});
            ASSERT_EQ(run(arguments).exit_status, 0) << type;
            const std::vector<double> table = read_values(folder.path(type + ".txt"));
            for (std::size_t k = 0; k < 2; ++k)
                EXPECT_EQ(peak(wave_of(table, k, 128)), peaks[k]) << type << " wave " << k;
            std::remove(folder.path(type + ".txt").c_str());
        }
}

TEST_F(Wavetable_run, SeveralInputsGiveTheirSingleRunsAtTheirLevels)
{
    // Each wave of the table is its single run's result times the wave's
    // level over the loudest's.
    ASSERT_EQ(run({"-i", "c0.txt", "-i", "c1.txt", "-i", "c2.txt", "-t", "wave", "-o", "t.txt",
                   "-T", "wave", "-s", "600"})
                  .exit_status,
              0);
    const std::vector<double> table = read_values(folder.path("t.txt"));
    for (std::size_t k = 0; k < 3; ++k) {
        const std::string single = "s" + std::to_string(k) + ".txt";
        run({"-i", "c" + std::to_string(k) + ".txt", "-t", "wave", "-o", single, "-T", "wave",
             "-s", "600"});
        const std::vector<double> alone = read_values(folder.path(single));
        const std::vector<double> in_table = wave_of(table, k, 600);
        const double level = fading.levels[k];
        for (std::size_t j = 0; j < 600; ++j)
            ASSERT_NEAR(in_table[j], alone[j] * level, 1e-5 + 1e-5 * std::fabs(alone[j]))
                << "wave " << k << " sample " << j;
    }
}

TEST_F(Wavetable_run, AllWavesOfOneWaveWritesWhatTheSingleRunWrites)
{
    for (const std::string output : {"one.wav", "one.aiff", "one.txt", "one.syx", "one.svg"}) {
        for (const bool all : {false, true}) {
            std::vector<std::string> arguments{"-i", "c1.txt", "-t", "wave", "-o",
                                               (all ? "a-" : "s-") + output, "-T", "harm",
                                               "-s", "64"};
            if (all)
                arguments.push_back("-a");
            ASSERT_EQ(run(arguments).exit_status, 0) << output;
        }
        EXPECT_TRUE(read_file(folder.path("a-" + output)) == read_file(folder.path("s-" + output)))
            << output;
    }
}

TEST_F(Wavetable_run, EachDumpOfATableIsItsWavesSingleDump)
{
    ASSERT_EQ(run({"-i", "bank.wav", "-S", "256", "-a", "-o", "bank.syx", "-W", "1010"})
                  .exit_status,
              0);
    const std::string bank = read_file(folder.path("bank.syx"));
    ASSERT_EQ(bank.size(), 3u * 137);
    for (std::size_t k = 0; k < 3; ++k) {
        const std::string single = "w" + std::to_string(k) + ".syx";
        run({"-i", "bank.wav", "-S", "256", "-w", std::to_string(k), "-o", single, "-W",
             std::to_string(1010 + k)});
        EXPECT_TRUE(bank.substr(k * 137, 137) == read_file(folder.path(single))) << "wave " << k;
    }
    EXPECT_EQ(run({"-l", "bank.syx"}).standard_output,
              "Tonalith: listing waveforms from file bank.syx:\n0 USER#11\n1 USER#12\n2 USER#13\n");
}

TEST_F(Wavetable_run, WhatATableRunCannotDoIsRefusedBeforeAnyFileAppears)
{
    folder.write("two_tables.ftable", read_file(TONALITH_TEST_DATA "/csound/two_tables.ftable"));
    folder.write("c_short.txt", "0\n1\n0\n-1\n");
    const std::vector<std::string> before = folder.names();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-i", "tagged.wav", "-a", "-w", "1", "-o", "o.txt", "-T", "wave", "-s", "8"},
         "The input wave number can't be combined with --all_waves, --wave_count or several "
         "inputs."},
        {{"-i", "tagged.wav", "-a", "-o", "o.ysc", "-s", "8"},
         "A Yoshimi script holds one wave; this table has 3."},
        {{"-i", "c0.txt", "-t", "wave", "-w", "1", "-o", "o.txt", "-T", "wave", "-s", "8"},
         "c0.txt has no wave 1; its waves are numbered 0 to 0."},
        {{"-i", "bank.wav", "-w", "3", "-o", "o.txt", "-T", "wave", "-s", "8"},
         "bank.wav has no wave 3; its waves are numbered 0 to 0."},
        {{"-i", "two_tables.ftable", "-t", "wave", "-w", "1", "-o", "o.txt", "-T", "wave", "-s",
          "8"},
         "two_tables.ftable holds several tables; only the first is read."},
        {{"-i", "c0.txt", "-i", "c_short.txt", "-t", "wave", "-n", "4", "-o", "o.txt", "-T",
          "wave", "-s", "8"},
         "--wave_count needs waves of one length; c_short.txt holds waves of 4 samples, c0.txt "
         "of 256."},
        {{"-i", "tagged.wav", "-i", "c0.txt", "-t", "harm", "-o", "o.txt", "-T", "wave", "-s",
          "8"},
         "All inputs of one table must hold waves, or all spectra."},
        {{"-i", "tagged.wav", "-a", "-o", "o.syx", "-W", "16382"},
         "Can't write wave number 16384 It doesn't fit into a wave dump. Wave numbers end at "
         "16383."},
    };
    for (const auto& [arguments, message] : cases) {
        const Program_result result = run(arguments);
        EXPECT_EQ(result.standard_output, error_report(message));
        EXPECT_EQ(folder.names(), before) << message;
    }
}

TEST_F(Wavetable_run, ATableWeWriteReadsBackWaveForWave)
{
    for (const std::string output : {"t.wav", "t.aiff", "t.txt"}) {
        SCOPED_TRACE(output);
        ASSERT_EQ(run({"-i", "bank.wav", "-S", "256", "-a", "-o", output, "-T", "wave", "-s",
                       "64"})
                      .exit_status,
                  0);
        // Text holds no tag: -S says how long its waves are.
        const std::vector<std::string> size = output == "t.txt" ? std::vector<std::string>{"-S", "64", "-t", "wave"}
                                                                : std::vector<std::string>{};
        std::vector<std::string> listing{"-l", output};
        listing.insert(listing.end(), size.begin(), size.end());
        EXPECT_EQ(run(listing).standard_output, frame_listing(output, 3));
        std::vector<std::string> back{"-i", output, "-a", "-o", output + ".txt", "-T", "wave", "-s", "64"};
        back.insert(back.end(), size.begin(), size.end());
        ASSERT_EQ(run(back).exit_status, 0);
        const std::vector<double> written = output == "t.txt" ? read_values(folder.path(output))
                                                             : read_sound(folder.path(output)).samples;
        const std::vector<double> read_back = read_values(folder.path(output + ".txt"));
        ASSERT_EQ(read_back.size(), written.size());
        // Read back at the same size, each wave is itself over the same gain.
        const double gain = peak(written);
        for (std::size_t i = 0; i < written.size(); ++i)
            ASSERT_NEAR(read_back[i], written[i] / gain, 1e-5) << "value " << i;
    }
}

}  // namespace
}  // namespace Vemo::testing
