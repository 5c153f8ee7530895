// Whatever an input file says, the program neither takes more memory than
// its content needs nor reads a wave the file does not hold: dump files
// read in proportion, tags that name no cycle, encodings that cannot seek,
// and text whose lines end in carriage returns.

#include "e2e/program_test.hpp"
#include "support/sound_files.hpp"
#include "support/wave_dump_bytes.hpp"
#include "support/wavetable_files.hpp"

#include <fcntl.h>
#include <unistd.h>

namespace Vemo::testing {
namespace {

using Untrusted_input = Program_test;

/// Writes `head` at the start of `path` and `tail` at its end, `size` bytes
/// on, with a hole of zeros between that takes no disk space.
void write_sparse(const std::string& path, const std::string& head, off_t size,
                  const std::string& tail)
{
    const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(file, 0);
    ASSERT_EQ(::pwrite(file, head.data(), head.size(), 0), static_cast<ssize_t>(head.size()));
    ASSERT_EQ(::ftruncate(file, size), 0);
    ASSERT_EQ(::pwrite(file, tail.data(), tail.size(), size), static_cast<ssize_t>(tail.size()));
    ::close(file);
}

TEST_F(Untrusted_input, AWaveDumpFileCostsWhatItsDumpsCost)
{
    const off_t hole = 256 << 20;
    write_sparse(folder.path("two.syx"), silent_wave_dump(1000), hole, silent_wave_dump(1001));
    write_sparse(folder.path("none.syx"), "", hole, "");
    folder.write("small.syx", silent_wave_dump(1000));
    const long small_peak = run({"-l", "small.syx"}).peak_memory_kib;
    const std::pair<std::string, std::string> cases[] = {
        {"two.syx", "Tonalith: listing waveforms from file two.syx:\n0 USER#1\n1 USER#2\n"},
        {"none.syx", error_report("none.syx does not contain valid Microwave II/XT waveforms.")},
    };
    for (const auto& [file, output] : cases) {
        const Program_result result = run({"-l", file});
        EXPECT_EQ(result.standard_output, output);
        // Far below the 256 MiB of the file.
        EXPECT_LT(result.peak_memory_kib, small_peak + 8192) << file;
    }
}

TEST_F(Untrusted_input, ATagThatGivesWavesOfFewerThan16SamplesNamesNoCycle)
{
    const int pcm_16_wav = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    struct Case {
        std::string name;
        std::size_t frames;
        Wave_tags tags;
        std::string listing;
    };
    std::vector<std::uint32_t> every_frame(200);
    for (std::uint32_t i = 0; i < 200; ++i)
        every_frame[i] = i;
    const Case cases[] = {
        {"loop_0_0.wav", 600, {"", 0, {}, 0, 1}, "Default\n"},
        {"clm_1.wav", 600, {"<!>1 10000000", 0, {}, 0, 0}, "Default\n"},
        {"srge_1.wav", 600, {"", 1, {}, 0, 0}, "Default\n"},
        {"cue_every_frame.wav", 200, {"", 0, every_frame, 0, 0}, "Default\n"},
        {"clm_15.wav", 60, {"<!>15 10000000", 0, {}, 0, 0}, "Default\n"},
        // A smaller tag is passed over for the next rule, which may hold.
        {"clm_1_loop_300.wav", 600, {"<!>1 10000000", 0, {}, 0, 300}, "0 frame#1\n1 frame#2\n"},
        {"clm_16.wav", 32, {"<!>16 10000000", 0, {}, 0, 0}, "0 frame#1\n1 frame#2\n"},
    };
    for (const Case& c : cases) {
        write_tagged_sound(folder.path(c.name), pcm_16_wav, wavetable_samples(1, c.frames), c.tags);
        EXPECT_EQ(run({"-l", c.name}).standard_output,
                  "Tonalith: listing waveforms from file " + c.name + ":\n" + c.listing);
    }
    // The whole cycle is the wave, as in the same file without tags.
    write_tagged_sound(folder.path("untagged.wav"), pcm_16_wav, wavetable_samples(1, 600), {});
    for (const std::string input : {"loop_0_0.wav", "untagged.wav"}) {
        const Program_result result =
            run({"-i", input, "-o", input + ".txt", "-T", "wave", "-s", "600"});
        EXPECT_EQ(result.standard_output, success_report(input, input + ".txt", 600));
    }
    EXPECT_TRUE(read_file(folder.path("loop_0_0.wav.txt")) ==
                read_file(folder.path("untagged.wav.txt")));
}

TEST_F(Untrusted_input, AWaveIsReadWhereTheDecoderCannotSeek)
{
    // libsndfile cannot seek in DWVW. The same samples in a float WAV, which
    // it can, say what each wave is.
    write_sound(folder.path("table.aiff"), SF_FORMAT_AIFF | SF_FORMAT_DWVW_16, 1, 44100,
                wavetable_samples(4, 2048));
    write_sound(folder.path("table.wav"), SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 44100,
                read_sound(folder.path("table.aiff")).samples);
    for (const std::string wave : {"1", "3", "0"}) {
        for (const std::string input : {"table.wav", "table.aiff"}) {
            const Program_result result = run({"-i", input, "-S", "2048", "-w", wave, "-o",
                                               input + wave + ".txt", "-T", "wave", "-s", "2048"});
            EXPECT_EQ(result.exit_status, 0) << result.standard_output;
        }
        EXPECT_TRUE(read_file(folder.path("table.aiff" + wave + ".txt")) ==
                    read_file(folder.path("table.wav" + wave + ".txt")))
            << "wave " << wave;
    }
}

TEST_F(Untrusted_input, ALoneCarriageReturnEndsALine)
{
    const std::string header = "======= TABLE 1 size: 4 values ======\r"
                               "flenfrms: 4\rnchnls: 1\r---------END OF HEADER--------------\r";
    struct Case {
        std::string file, content, output;
    };
    const Case cases[] = {
        {"mac.txt", "0\r1\r0\r-1\r", "0\n1\n0\n-1\n"},
        {"mixed.txt", "0\r\n1\r\r0\n-1", "0\n1\n0\n-1\n"},
        {"mac.ftable", header + "0\r1\r0\r-1\r0\r", "0\n1\n0\n-1\n"},
        // Empty lines still count, so the line named is the one that is wrong.
        {"wrong.txt", "0\r\r1\rx\r", error_report("wrong.txt: line 4 does not hold a number.")},
        {"wrong.ftable", header + "0\r\r1\r",
         error_report("wrong.ftable is corrupt, line 6 does not hold a number.")},
    };
    for (const Case& c : cases) {
        folder.write(c.file, c.content);
        const Program_result result =
            run({"-i", c.file, "-t", "wave", "-o", c.file + ".out.txt", "-T", "harm", "-s", "4"});
        if (c.output.starts_with("Tonalith ERROR"))
            EXPECT_EQ(result.standard_output, c.output) << c.file;
        else {
            EXPECT_EQ(result.exit_status, 0) << c.file << ": " << result.standard_output;
            run({"-i", c.file, "-t", "wave", "-o", c.file + ".wave.txt", "-T", "wave", "-s", "4"});
            EXPECT_EQ(read_file(folder.path(c.file + ".wave.txt")), c.output) << c.file;
        }
    }
}

}  // namespace
}  // namespace Vemo::testing
