// The Yoshimi script writer: the lines it writes for a spectrum, and what it
// refuses.

#include "outfile/ac_outfile_yoshimi.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace Vemo::testing {
namespace {

/// The script written for `amplitudes`, or the writer's message on failure.
std::string script_for(const std::vector<double>& amplitudes)
{
    Temp_folder folder;
    const std::string name = folder.path("out.ysc");
    Ac_outfile_yoshimi writer(name);
    EXPECT_TRUE(writer.open());
    EXPECT_TRUE(writer.set_data(amplitudes.data(), amplitudes.size()));
    if (!writer.write())
        return "failed: " + writer.error_message;
    EXPECT_TRUE(writer.publish()) << writer.error_message;
    return read_file(name);
}

TEST(Ac_outfile_yoshimi, WritesOneLinePerHarmonicThatDoesNotRoundAway)
{
    struct Case {
        std::vector<double> amplitudes;
        std::string script;
    };
    const Case cases[] = {
        {{1, 0.5, 0, -0.25}, "s ha 1 a 127\ns ha 2 a 96\ns ha 4 a 48\n"},
        {{-1, 0.008, 0.007}, "s ha 1 a 1\ns ha 2 a 65\n"},
        {{1.5, -2}, "s ha 1 a 159\ns ha 2 a -62\n"},
        {{0.5 / 63, -0.5 / 63, 0.49 / 63}, "s ha 1 a 65\ns ha 2 a 63\n"},
        {{0.0, 0.007, -0.007}, ""},
        {{}, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(script_for(c.amplitudes), c.script);
}

TEST(Ac_outfile_yoshimi, RefusesAmplitudesThatAreNoWholeStep)
{
    Temp_folder folder;
    const double refused[] = {std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(), -1e300};
    int file_number = 0;
    for (double amplitude : refused) {
        const std::string name = folder.path(std::to_string(++file_number) + ".ysc");
        Ac_outfile_yoshimi writer(name);
        ASSERT_TRUE(writer.open());
        const double amplitudes[] = {1.0, amplitude};
        writer.set_data(amplitudes, 2);
        EXPECT_FALSE(writer.write()) << amplitude;
        EXPECT_FALSE(writer.ok);
        EXPECT_EQ(writer.error_message,
                  name + ": the amplitude of harmonic 2 is too large or not a number.");
        writer.close();
        EXPECT_EQ(read_file(name), "") << "nothing is written before every line is known";
    }
}

}  // namespace
}  // namespace Vemo::testing
