// Pictures as a user asks for them: the converted wave, spectrum or table
// drawn into an SVG file chosen by its extension or by -F svg.

#include "e2e/program_test.hpp"
#include "support/svg_picture.hpp"

#include <algorithm>

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

    /// Converts the saw into `output` with `arguments`; returns the picture.
    std::string picture(const std::string& output, const std::vector<std::string>& arguments,
                        std::uint64_t count)
    {
        std::vector<std::string> all = {"-i", "saw.txt", "-t", "wave", "-o", output};
        all.insert(all.end(), arguments.begin(), arguments.end());
        const Program_result result = run(all);
        EXPECT_EQ(result.exit_status, 0);
        EXPECT_EQ(result.standard_output, success_report("saw.txt", output, count));
        return read_file(folder.path(output));
    }
};

TEST_F(Svg_output, DrawsTheConvertedWaveChosenByExtensionOrFormat)
{
    struct Case {
        std::string output;
        std::vector<std::string> arguments;
        std::size_t count;
    };
    const Case cases[] = {
        {"saw.svg", {"-T", "wave", "-s", "600"}, 600},
        {"picture.out", {"-F", "svg", "-T", "wave", "-s", "64"}, 64},
    };
    for (const Case& c : cases) {
        const std::string svg = picture(c.output, c.arguments, c.count);
        const std::vector<Svg_element> polylines = elements(svg, "polyline");
        ASSERT_EQ(polylines.size(), 1u) << c.output;
        const auto points = polyline_points(polylines[0].attribute("points"));
        ASSERT_EQ(points.size(), c.count);
        // The saw falls through the cycle: its first quarter lies above the
        // middle of the picture, its last quarter below.
        EXPECT_LT(points[c.count / 8].y, 200);
        EXPECT_GT(points[c.count * 7 / 8].y, 200);
        EXPECT_EQ(elements(svg, "title").at(0).text,
                  "wave: " + std::to_string(c.count) + " samples");
    }
}

TEST_F(Svg_output, DrawsTheSpectrumWithOneBarPerHarmonic)
{
    const std::string svg = picture("spectrum.svg", {"-T", "harm", "-s", "16"}, 16);
    const auto bars = path_bars(elements(svg, "path").at(0).attribute("d"));
    ASSERT_EQ(bars.size(), 16u);
    // A saw's harmonics fall as 1/k: the fundamental is the tallest bar and
    // the second reaches half as high.
    const double fundamental = bars[0].from_y - bars[0].to_y;
    EXPECT_GT(fundamental, 0);
    EXPECT_NEAR((bars[1].from_y - bars[1].to_y) / fundamental, 0.5, 0.01);
    EXPECT_EQ(elements(svg, "title").at(0).text, "harm: 16 harmonics");
}

TEST_F(Svg_output, DrawsEveryWaveOfATableWithTheFirstInFront)
{
    // The saw at half the level, alone and as four waves of one text file.
    std::vector<double> half(256);
    for (std::size_t i = 0; i < half.size(); ++i)
        half[i] = 0.5 - static_cast<double>(i) / 256.0;
    folder.write("half.txt", values_text(half));
    folder.write("four.txt", values_text(half) + values_text(half) + values_text(half) +
                                 values_text(half));
    struct Case {
        std::vector<std::string> arguments;
        std::size_t waves;
        double back_level;
    };
    const Case cases[] = {
        {{"-i", "saw.txt", "-i", "half.txt", "-o", "two.svg"}, 2, 0.5},
        {{"-i", "four.txt", "-S", "256", "-a", "-o", "four.svg"}, 4, 1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.end(), {"-t", "wave", "-T", "wave", "-s", "64"});
        ASSERT_EQ(run(arguments).exit_status, 0) << c.waves;
        const std::string svg = read_file(folder.path(c.arguments.back()));
        EXPECT_EQ(elements(svg, "title").at(0).text,
                  "wave: " + std::to_string(c.waves) + " waves of 64 samples");
        // The first wave is drawn last, further left than the one at the
        // back, which keeps its level against it.
        std::vector<std::pair<double, double>> start_and_height;
        for (const Svg_element& polyline : elements(svg, "polyline")) {
            const auto points = polyline_points(polyline.attribute("points"));
            const auto [low, high] = std::minmax_element(
                points.begin(), points.end(), [](Svg_point a, Svg_point b) { return a.y < b.y; });
            start_and_height.emplace_back(points.at(0).x, high->y - low->y);
        }
        ASSERT_EQ(start_and_height.size(), c.waves);
        const auto [front_x, front_height] = start_and_height.back();
        const auto [back_x, back_height] = start_and_height.front();
        EXPECT_LT(front_x, back_x);
        EXPECT_NEAR(back_height / front_height, c.back_level, 0.01) << c.waves;
    }
}

}  // namespace
}  // namespace Vemo::testing
