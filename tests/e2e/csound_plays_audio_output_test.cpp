// Audio output as a real sampler plays it: Csound's loscil takes the loop and
// the root note from the file. Asked for middle C, it must hold the note for
// its whole length, at that pitch.

#include "e2e/program_test.hpp"
#include "support/sound_files.hpp"

#include <cmath>

namespace Vemo::testing {
namespace {

constexpr double middle_c = 261.6256;

/// The loudness (root mean square) and the fundamental of a played sine from
/// `from` to `to` seconds; the fundamental from the times of its upward zero
/// crossings, each placed between its two samples by linear interpolation.
struct Played_note {
    double rms = 0;
    double fundamental = 0;
};

Played_note measure(const Sound& sound, double from, double to)
{
    const auto first = static_cast<std::size_t>(from * sound.info.samplerate);
    const auto end = static_cast<std::size_t>(to * sound.info.samplerate);
    double sum = 0;
    double first_crossing = 0;
    double last_crossing = 0;
    std::size_t crossings = 0;
    for (std::size_t j = first; j < end; ++j) {
        const double before = sound.samples[j - 1];
        const double after = sound.samples[j];
        sum += after * after;
        if (before < 0 && after >= 0) {
            last_crossing = static_cast<double>(j - 1) + before / (before - after);
            if (crossings++ == 0)
                first_crossing = last_crossing;
        }
    }
    const double periods = crossings < 2 ? 0 : static_cast<double>(crossings - 1);
    return {std::sqrt(sum / static_cast<double>(end - first)),
            periods * sound.info.samplerate / (last_crossing - first_crossing)};
}

using Csound_plays_audio_output = Program_test;

TEST_F(Csound_plays_audio_output, LoscilSustainsTheCycleAtTheNoteAskedFor)
{
    if (!installed("csound"))
        GTEST_SKIP() << "csound is not installed (Debian package csound): how a sampler "
                        "plays the audio output's loop and root note is not checked";
    folder.write("sine.txt", "1\n");
    // A loop one frame short would be 6.8 cents sharp at 256 frames.
    for (const std::string container : {"wav", "aiff"})
        for (const std::string size : {"2048", "256"})
            for (const std::string rate : {"44100", "48000"}) {
                const std::string cycle = "cycle" + size + "-" + rate + "." + container;
                ASSERT_EQ(run({"-i", "sine.txt", "-t", "harm", "-o", cycle, "-s", size, "-r",
                               rate})
                              .exit_status,
                          0);
                folder.write("play-" + cycle + ".csd",
                             "<CsoundSynthesizer>\n<CsInstruments>\nsr = 44100\nksmps = 1\n"
                             "nchnls = 1\n0dbfs = 1\ninstr 1\na1 loscil 0.5, 261.6256, 1\n"
                             "out a1\nendin\n</CsInstruments>\n<CsScore>\nf1 0 0 1 \"" +
                                 cycle + "\" 0 0 0\ni1 0 1\n</CsScore>\n</CsoundSynthesizer>\n");
                const std::string played = "played-" + cycle + ".wav";
                const int status =
                    run_peer("csound -d -W -o '" + played + "' 'play-" + cycle + ".csd'",
                             "csound.log");
                ASSERT_EQ(status, 0) << cycle << ":\n" << read_file(folder.path("csound.log"));
                const Sound sound = read_sound(folder.path(played));
                ASSERT_GE(sound.info.frames, sound.info.samplerate) << cycle;
                EXPECT_GT(measure(sound, 0.5, 0.9).rms, 0.25)
                    << cycle << " falls silent:\n" << read_file(folder.path("csound.log"));
                const double cents =
                    1200 * std::log2(measure(sound, 0.1, 0.9).fundamental / middle_c);
                EXPECT_LT(std::abs(cents), 5.0)
                    << cycle << " plays " << cents << " cents off middle C:\n"
                    << read_file(folder.path("csound.log"));
            }
}

}  // namespace
}  // namespace Vemo::testing
