// Sound files as output: mono 16-bit PCM, WAV or AIFF by the name's
// extension, at the chosen sample rate, read back here through libsndfile.
// A refused or failed run leaves no file behind.

#include "e2e/program_test.hpp"
#include "support/reference_cycles.hpp"
#include "support/sound_files.hpp"

#include <boost/filesystem.hpp>

namespace Vemo::testing {
namespace {

namespace fs = boost::filesystem;

class Audio_output : public Program_test {
protected:
    void SetUp() override { folder.write("spectrum.txt", "1\n0\n0.5\n"); }
};

/// The cycle that the spectrum 1, 0, 0.5 gives.
std::vector<double> expected_cycle(std::size_t frames) { return sine_cycle(frames, {1, 0, 0.5}); }

TEST_F(Audio_output, WritesMono16BitCycleInTheContainerTheNameAsks)
{
    struct Case {
        std::string name;
        std::vector<std::string> extra_arguments;
        int format;
        int sample_rate;
        std::size_t frames;
    };
    const Case cases[] = {
        {"cycle.wav", {"-s", "2048"}, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2048},
        {"cycle.aiff", {"-s", "600", "-r", "48000"}, SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 48000,
         600},
        // With no "." the whole name is the extension.
        {"wav", {"-s", "601", "-r", "8000"}, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 601},
        {"aiff", {"-s", "65537", "-F", "audio", "-r", "96000"},
         SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 96000, 65537},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{"-i", "spectrum.txt", "-t", "harm", "-o", c.name};
        arguments.insert(arguments.end(), c.extra_arguments.begin(), c.extra_arguments.end());
        const Program_result result = run(arguments);
        EXPECT_EQ(result.exit_status, 0) << c.name;
        EXPECT_EQ(result.standard_output,
                  "Converting to " + std::to_string(c.sample_rate) + "Hz\n"
                  "Converted Wave from  file spectrum.txt\n"
                  "to wave  file " + c.name + " with " + std::to_string(c.frames) +
                      " samples.\n");

        const Sound sound = read_sound(folder.path(c.name));
        EXPECT_EQ(sound.info.format, c.format) << c.name;
        EXPECT_EQ(sound.info.channels, 1) << c.name;
        EXPECT_EQ(sound.info.samplerate, c.sample_rate) << c.name;
        ASSERT_EQ(sound.info.frames, static_cast<sf_count_t>(c.frames)) << c.name;
        const std::vector<double> expected = expected_cycle(c.frames);
        for (std::size_t j = 0; j < c.frames; ++j)
            ASSERT_NEAR(written_value(sound.samples[j]), expected[j], 1.0 / 32767)
                << c.name << " sample " << j;
    }
}

TEST_F(Audio_output, RefusesOtherNamesBeforeCreatingAnything)
{
    fs::create_directory(folder.path("a.b"));
    const std::vector<std::string> before = folder.names();
    const std::string names[] = {"cycle.WAVE", "cycle.aifc", "cycle.wave", "cycle",
                                 "cycle.",     "a.b/c",      "cycle.wav.txt"};
    for (const std::string& name : names) {
        const Program_result result = run(
            {"-i", "spectrum.txt", "-t", "harm", "-o", name, "-F", "audio", "-s", "64"});
        EXPECT_EQ(result.exit_status, 1) << name;
        EXPECT_EQ(result.standard_output,
                  error_report("Audio output can only be written in wav and aiff format. "
                               "Filenames should end in .wav, .aif or .aiff."))
            << name;
        EXPECT_EQ(folder.names(), before) << name;
    }
}

TEST_F(Audio_output, AFileThatCannotBeCreatedIsExplainedByLibsndfile)
{
    folder.write("plain", "");
    fs::create_directory(folder.path("locked"));
    fs::permissions(folder.path("locked"), fs::perms(0555));
    const std::vector<std::string> before = folder.names();
    const std::pair<std::string, std::string> cases[] = {
        {"nowhere/cycle.wav", "System error : No such file or directory."},
        {"plain/cycle.wav", "System error : Not a directory."},
        {"locked/cycle.aiff", "System error : Permission denied."},
        // The other writers keep their own words.
        {"nowhere/cycle.txt", "Can't open file nowhere/cycle.txt: unknown error."},
    };
    Start_options without_privileges;
    without_privileges.obey_permissions = true;
    for (const auto& [output, message] : cases) {
        if (output.rfind("locked/", 0) == 0 && !permissions_can_be_enforced()) {
            std::cout << "[  SKIPPED ] " << output
                      << ": root here cannot give up its right to pass over permissions\n";
            continue;
        }
        Started_program program(
            {"-i", "spectrum.txt", "-t", "harm", "-T", "wave", "-o", output, "-s", "64"},
            folder.root, without_privileges);
        const Program_result result = program.finish();
        EXPECT_EQ(result.exit_status, 1) << output;
        EXPECT_EQ(result.standard_output, error_report(message));
        EXPECT_EQ(folder.names(), before) << output;
    }
}

TEST_F(Audio_output, AHeaderThatCannotBeCompletedFailsTheRun)
{
    for (const std::string output : {"cycle.wav", "cycle.aiff"}) {
        Start_options failing_disk;
        failing_disk.preload = TONALITH_FAILING_HEADER_REWRITE;
        Started_program program({"-i", "spectrum.txt", "-t", "harm", "-o", output, "-s", "64"},
                                folder.root, failing_disk);
        const Program_result result = program.finish();
        EXPECT_EQ(result.exit_status, 1) << output;
        EXPECT_EQ(result.standard_output,
                  "Converting to 44100Hz\n" + error_report("Not all data was written to " + output));
        EXPECT_FALSE(file_exists(folder.path(output)));
    }
}

TEST_F(Audio_output, SampleRatesThatCannotBeStoredLeaveNoFile)
{
    const std::pair<std::string, std::string> cases[] = {
        {"0", "Internal error : SF_INFO struct incomplete."},
        {"3000000000", "Can't write a sample rate of 3000000000 Hz. Sample rates end at "
                       "2147483647 Hz."},
    };
    for (const auto& [rate, message] : cases) {
        const Program_result result =
            run({"-i", "spectrum.txt", "-t", "harm", "-o", "cycle.wav", "-s", "64", "-r", rate});
        EXPECT_EQ(result.exit_status, 1) << rate;
        EXPECT_EQ(result.standard_output, error_report(message));
        EXPECT_FALSE(file_exists(folder.path("cycle.wav"))) << rate;
    }
}

}  // namespace
}  // namespace Vemo::testing
