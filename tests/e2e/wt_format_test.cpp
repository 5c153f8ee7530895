// The wavetables of Surge XT and Bitwig Studio (.wt): files built here byte
// by byte, listed and read in each sample form; broken files refused with
// their name; tables written that hold the samples of the WAV file of the
// same run, within the sizes the synths load, and that read back.

#include "e2e/program_test.hpp"
#include "support/sound_files.hpp"
#include "support/wavetable_files.hpp"
#include "support/wt_bytes.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace Vemo::testing {
namespace {

const int pcm_16_wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

/// The payload of the first chunk `id` of a RIFF file, or "" when it has none.
std::string riff_chunk(const std::string& file, const std::string& id)
{
    for (std::size_t at = 12; at + 8 <= file.size();) {
        std::uint32_t size = 0;
        for (int k = 3; k >= 0; --k)
            size = size << 8 | static_cast<unsigned char>(file[at + 4 + k]);
        if (file.compare(at, 4, id) == 0)
            return file.substr(at + 8, size);
        at += 8 + size + (size & 1);
    }
    return "";
}

/// `values` brought to a peak of 1, as the converter brings a wave or a table.
std::vector<double> normalised(std::vector<double> values)
{
    double peak = 0.0;
    for (const double value : values)
        peak = std::max(peak, std::fabs(value));
    for (double& value : values)
        value /= peak;
    return values;
}

class Wt_format : public Program_test {
protected:
    void SetUp() override
    {
        write_tagged_sound(folder.path("table.wav"), pcm_16_wav, wavetable_samples(3, 256),
                           {"<!>256 10000000 wavetable (test)", 0, {}, 0, 0});
    }
};

TEST_F(Wt_format, ListsAndReadsTheWavesOfEachSampleForm)
{
    // A wave of peak 1 in the same table shows the scale of the others: a
    // table is brought to one peak as a whole.
    std::vector<double> unit(16, 0.0);
    unit[0] = 1.0;
    folder.write("unit.txt", values_text(unit));
    // How a stored level becomes the value read.
    const std::pair<std::uint16_t, double> forms[] = {
        {0x0000, 32768.0}, {0x0004, 16384.0}, {0x000C, 32768.0},
        {0x0010, 32768.0}, {0x0014, 16384.0}, {0x001C, 32768.0}};
    const std::vector<int> levels = wt_levels(3, 16);
    for (const auto& [flags, divisor] : forms) {
        const std::string name = "f" + std::to_string(flags) + ".wt";
        SCOPED_TRACE(name);
        folder.write(name, wt_bytes(16, 3, flags, levels, flags & 0x0010 ? "some text" : ""));
        // -S means nothing to a file whose header gives the wave size.
        for (const std::vector<std::string>& listing :
             {std::vector<std::string>{"-l", name}, {"-S", "4", "-l", name}})
            EXPECT_EQ(run(listing).standard_output, frame_listing(name, 3));

        for (std::size_t k = 0; k < 3; ++k) {
            const std::string output = name + std::to_string(k) + ".txt";
            ASSERT_EQ(run({"-i", name, "-w", std::to_string(k), "-o", output, "-T", "wave", "-s",
                           "16"})
                          .standard_output,
                      success_report(name, output, 16));
            std::vector<double> expected;
            for (std::size_t j = 0; j < 16; ++j)
                expected.push_back(levels[16 * k + j] / divisor);
            expected = normalised(expected);
            const std::vector<double> got = read_values(folder.path(output));
            ASSERT_EQ(got.size(), 16u);
            for (std::size_t j = 0; j < 16; ++j)
                EXPECT_NEAR(got[j], expected[j], 1e-5) << "wave " << k << " sample " << j;
        }

        const std::string table = name + ".txt";
        ASSERT_EQ(run({"-i", name, "-i", "unit.txt", "-t", "wave", "-o", table, "-T", "wave",
                       "-s", "16"})
                      .exit_status,
                  0);
        std::vector<double> expected;
        for (const int level : levels)
            expected.push_back(level / divisor);
        expected.insert(expected.end(), unit.begin(), unit.end());
        expected = normalised(expected);
        const std::vector<double> got = read_values(folder.path(table));
        ASSERT_EQ(got.size(), expected.size());
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], expected[i], 1e-5) << "value " << i;
    }
}

TEST_F(Wt_format, RefusesABrokenFileNamingIt)
{
    // The reader's tests try every header it refuses; here a refusal reaches
    // the user from a listing, a single run and a table run.
    const std::vector<int> levels = wt_levels(2, 4);
    // A float sample that is not a number, as a broken editor may save it.
    std::string not_a_number = wt_bytes(4, 1, 0x0000, {0, 0, 0, 0});
    not_a_number.replace(16, 4, "\x00\x00\xC0\x7F", 4);
    folder.write("magic.wt", "VAWT" + wt_bytes(4, 2, 0x0004, levels).substr(4));
    folder.write("short.wt", wt_bytes(4, 2, 0x0004, levels).substr(0, 27));
    folder.write("two.wt", wt_bytes(4, 2, 0x0004, levels));
    folder.write("nan.wt", not_a_number);
    const std::vector<std::string> before = folder.names();
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"-l", "magic.wt"}, "magic.wt is not a .wt wavetable."},
        {{"-i", "magic.wt"}, "magic.wt is not a .wt wavetable."},
        {{"-i", "short.wt", "-a"},
         "short.wt is cut short: its header promises 2 waves of 4 samples."},
        {{"-l", "short.wt"}, "short.wt is cut short: its header promises 2 waves of 4 samples."},
        {{"-i", "two.wt", "-w", "2"}, "two.wt has no wave 2; its waves are numbered 0 to 1."},
        {{"-i", "nan.wt"}, "The input holds a value that is not a finite number."},
        {{"-i", "gone.wt"}, "gone.wt does not exist."},
    };
    for (auto [arguments, message] : cases) {
        if (arguments.front() == "-i")
            arguments.insert(arguments.end(), {"-o", "out.txt", "-T", "wave", "-s", "4"});
        const Program_result result = run(arguments);
        EXPECT_EQ(result.exit_status, 1) << message;
        EXPECT_EQ(result.standard_output, error_report(message));
        EXPECT_EQ(folder.names(), before) << message;
    }
}

TEST_F(Wt_format, ATableHoldsTheSamplesOfTheWavOfTheSameRun)
{
    struct Case {
        std::vector<std::string> input;
        std::string size;
        std::string header;
    };
    const Case cases[] = {
        {{"-i", "table.wav", "-a"}, "64", std::string("vawt\x40\0\0\0\x03\0\x0C\0", 12)},
        {{"-i", "table.wav", "-w", "1"}, "2048", std::string("vawt\0\x08\0\0\x01\0\x0C\0", 12)},
        {{"-i", "table.wav", "-n", "5"}, "256", std::string("vawt\0\x01\0\0\x05\0\x0C\0", 12)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input[2] + " -s " + c.size);
        for (const std::string output : {"t.wt", "t.wav"}) {
            std::vector<std::string> arguments = c.input;
            arguments.insert(arguments.end(), {"-o", output, "-s", c.size});
            ASSERT_EQ(run(arguments).exit_status, 0) << output;
        }
        const std::string table = read_file(folder.path("t.wt"));
        const std::string samples = riff_chunk(read_file(folder.path("t.wav")), "data");
        ASSERT_FALSE(samples.empty());
        EXPECT_EQ(table.substr(0, 12), c.header);
        EXPECT_TRUE(table.substr(12) == samples) << "the 16-bit samples differ";
        std::remove(folder.path("t.wt").c_str());
        std::remove(folder.path("t.wav").c_str());
    }
}

TEST_F(Wt_format, TablesTheSynthsLoadAreWrittenOthersRefused)
{
    struct Case {
        std::vector<std::string> arguments;
        std::uint32_t size;
        std::uint16_t waves;
    };
    // Waves 0 when refused.
    const Case cases[] = {
        {{"-a", "-s", "4096"}, 4096, 3},
        {{"-a", "-s", "2"}, 2, 3},
        {{"-n", "512", "-s", "64"}, 64, 512},
        {{"-a", "-s", "8192"}, 8192, 0},
        {{"-a", "-s", "3"}, 3, 0},
        {{"-w", "0", "-s", "1"}, 1, 0},
        {{"-a", "-s", "1000"}, 1000, 0},
        {{"-n", "513", "-s", "64"}, 64, 0},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.arguments[0] + " " + c.arguments[1] + " -s " + std::to_string(c.size));
        const std::vector<std::string> before = folder.names();
        c.arguments.insert(c.arguments.begin(), {"-i", "table.wav", "-o", "t.wt"});
        const Program_result result = run(c.arguments);
        if (c.waves == 0) {
            EXPECT_EQ(result.standard_output,
                      error_report("t.wt: a .wt file holds waves of 2 to 4096 samples, a power of "
                                   "two, and at most 512 of them."));
            EXPECT_EQ(folder.names(), before);
            continue;
        }
        ASSERT_EQ(result.exit_status, 0);
        const std::string table = read_file(folder.path("t.wt"));
        EXPECT_EQ(table.substr(0, 12), wt_bytes(c.size, c.waves, 0x000C, {}));
        EXPECT_EQ(table.size(), 12 + 2u * c.size * c.waves);
        std::remove(folder.path("t.wt").c_str());
    }
}

TEST_F(Wt_format, ATableWeWriteReadsBackAsTheWavDoes)
{
    for (const std::string output : {"t.wt", "t.wav"})
        ASSERT_EQ(run({"-i", "table.wav", "-a", "-o", output, "-s", "64"}).exit_status, 0);
    EXPECT_EQ(run({"-l", "t.wt"}).standard_output, frame_listing("t.wt", 3));
    for (const std::string input : {"t.wt", "t.wav"})
        ASSERT_EQ(run({"-i", input, "-a", "-o", input + ".txt", "-T", "wave", "-s", "64"})
                      .standard_output,
                  "Converting to 44100Hz\nConverted Wave from  file " + input +
                      "\nto wave  file " + input + ".txt with 192 samples.\n");
    const std::string from_table = read_file(folder.path("t.wt.txt"));
    EXPECT_EQ(read_values(folder.path("t.wt.txt")).size(), 192u);
    EXPECT_TRUE(from_table == read_file(folder.path("t.wav.txt")))
        << "the .wt reads back other values than the WAV of the same run";
}

}  // namespace
}  // namespace Vemo::testing
