// Pictures as a user asks for them: a wave or a spectrum drawn into an SVG
// file chosen by its extension or by -F svg, and the refusals around them.

#include "e2e/program_test.hpp"
#include "support/svg_picture.hpp"

#include <cmath>
#include <regex>

namespace Vemo::testing {
namespace {

class Svg_output : public Program_test {
protected:
    void SetUp() override
    {
        // One cycle of a saw of 256 samples, falling from 1 to nearly -1.
        std::vector<double> saw(256);
        for (std::size_t i = 0; i < saw.size(); ++i)
            saw[i] = 1.0 - 2.0 * static_cast<double>(i) / 256.0;
        folder.write("saw.txt", values_text(saw));
    }

};

TEST_F(Svg_output, DrawsTheConvertedWaveChosenByTheExtension)
{
    const Program_result result = run({"-i", "saw.txt", "-t", "wave", "-o", "saw.svg", "-T",
                                       "wave", "-s", "600"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_output, success_report("saw.txt", "saw.svg", 600));
    const auto root = parse_svg(read_file(folder.path("saw.svg")));
    const auto polylines = find_elements(*root, "polyline");
    ASSERT_EQ(polylines.size(), 1u);
    const auto points = polyline_points(*polylines.front());
    ASSERT_EQ(points.size(), 600u);
    // The saw falls through the cycle: its first quarter lies above the
    // middle of the picture, its last quarter below.
    EXPECT_LT(points[75].y, 200);
    EXPECT_GT(points[525].y, 200);
    EXPECT_EQ(find_elements(*root, "title").front()->text, "wave: 600 samples");
}

TEST_F(Svg_output, DrawsTheSpectrumWithOneBarPerHarmonic)
{
    const Program_result result = run({"-i", "saw.txt", "-t", "wave", "-o", "spectrum.svg",
                                       "-T", "harm", "-s", "16"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_output, success_report("saw.txt", "spectrum.svg", 16));
    const auto root = parse_svg(read_file(folder.path("spectrum.svg")));
    const auto bars = path_bars(*find_elements(*root, "path").front());
    ASSERT_EQ(bars.size(), 16u);
    // A saw's harmonics fall as 1/k: the fundamental is the tallest bar and
    // the second reaches half as high.
    const double fundamental = bars[0].from_y - bars[0].to_y;
    EXPECT_GT(fundamental, 0);
    EXPECT_NEAR((bars[1].from_y - bars[1].to_y) / fundamental, 0.5, 0.01);
    EXPECT_EQ(find_elements(*root, "title").front()->text, "harm: 16 harmonics");
}

TEST_F(Svg_output, FormatOptionChoosesSvgWhateverTheExtension)
{
    const Program_result result = run({"-i", "saw.txt", "-t", "wave", "-o", "picture.out",
                                       "-F", "svg", "-T", "wave", "-s", "64"});
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_output, success_report("saw.txt", "picture.out", 64));
    const auto root = parse_svg(read_file(folder.path("picture.out")));
    EXPECT_EQ(polyline_points(*find_elements(*root, "polyline").front()).size(), 64u);
}

}  // namespace
}  // namespace Vemo::testing
