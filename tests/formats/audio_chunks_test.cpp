#include "formats/audio_chunks.hpp"

#include <gtest/gtest.h>

namespace Vemo {
namespace {

TEST(Cycle_loop, RootNoteIsThePitchOfOneCycleAtTheSampleRate)
{
    struct Case {
        std::uint32_t sample_rate;
        std::uint64_t frames;
        Root_note at_or_below;
        Root_note nearest;
        const char* pitch;
    };
    // The pitches were worked out as 69 + 12 log2(rate / frames / 440).
    const Case cases[] = {
        {44000, 100, {69, 0}, {69, 0}, "440 Hz, note 69 exactly"},
        {88000, 100, {81, 0}, {81, 0}, "880 Hz, note 81 exactly"},
        {27500, 1000, {21, 0}, {21, 0}, "27.5 Hz, note 21 exactly"},
        {44100, 2048, {16, 77}, {17, -23}, "16.766"},
        {48000, 2048, {18, 23}, {18, 23}, "18.233"},
        {44100, 309, {49, 51}, {50, -49}, "49.508"},
        {44100, 425, {43, 99}, {44, -1}, "43.990"},
        {44100, 401, {45, 0}, {45, 0}, "44.996, whose 99.6 cents round to the next note"},
        {96000, 367, {60, 0}, {60, 0}, "59.997, whose 99.7 cents round to the next note"},
        {8000, 1000, {0, 0}, {0, -38}, "-0.376, below note 0 but nearest to it"},
        {8000, 65536, {0, 0}, {0, 0}, "-72.787"},
        {25100, 2, {127, 1}, {127, 1}, "127.008"},
        {39000, 3, {127, 62}, {127, 0}, "127.618, nearest to the note above 127"},
        {192000, 1, {127, 0}, {127, 0}, "174.233"},
    };
    for (const Case& c : cases) {
        const Root_note below = note_at_or_below(c.sample_rate, c.frames);
        EXPECT_EQ(below.note, c.at_or_below.note) << c.pitch;
        EXPECT_EQ(below.cents, c.at_or_below.cents) << c.pitch;
        const Root_note nearest = nearest_note(c.sample_rate, c.frames);
        EXPECT_EQ(nearest.note, c.nearest.note) << c.pitch;
        EXPECT_EQ(nearest.cents, c.nearest.cents) << c.pitch;
    }
}

}  // namespace
}  // namespace Vemo
