// The SVG writer's pictures, read back and measured: how many points and
// bars they hold, where known values land, and what the document may hold.

#include "outfile/ac_outfile_svg.hpp"
#include "support/reference_cycles.hpp"
#include "support/svg_picture.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <regex>

namespace Vemo::testing {
namespace {

/// The ys of the horizontal lines in the group of class `group`.
std::vector<double> horizontal_lines(const Svg_element& root, const std::string& group)
{
    std::vector<double> ys;
    for (const Svg_element* line : find_elements(root, "line"))
        if (line->group_class() == group && line->number("y1") == line->number("y2"))
            ys.push_back(line->number("y1"));
    std::sort(ys.begin(), ys.end());
    return ys;
}

/// The frame a picture draws its values in: the zero line and the lines of
/// the largest value above and below it.
struct Frame {
    double zero_y;
    double top_y;
    double bottom_y;
    double left_x;
    double right_x;
};

Frame frame_of(const Svg_element& root)
{
    const std::vector<double> zero = horizontal_lines(root, "zero");
    const std::vector<double> grid = horizontal_lines(root, "grid");
    if (zero.size() != 1 || grid.empty())
        throw std::runtime_error("a picture needs one zero line and a grid");
    const Svg_element* zero_line = nullptr;
    for (const Svg_element* line : find_elements(root, "line"))
        if (line->group_class() == "zero")
            zero_line = line;
    return {zero.front(), grid.front(), grid.back(), zero_line->number("x1"),
            zero_line->number("x2")};
}

/// The labels under the plot, as text and horizontal position.
std::vector<std::pair<std::string, double>> axis_labels(const Svg_element& root)
{
    std::vector<std::pair<std::string, double>> labels;
    for (const Svg_element* text : find_elements(root, "text"))
        if (text->group_class() == "labels" && text->attribute("text-anchor") == "middle")
            labels.emplace_back(text->text, text->number("x"));
    return labels;
}

class Svg_writer : public ::testing::Test {
protected:
    Temp_folder folder;
    int pictures = 0;

    /// Draws `values` as `type` into a new file and returns the document.
    std::string draw(const std::vector<double>& values, const std::string& type)
    {
        const std::string path = folder.path("picture" + std::to_string(++pictures) + ".svg");
        Ac_outfile_svg writer(path, type);
        EXPECT_TRUE(writer.open()) << writer.error_message;
        EXPECT_TRUE(writer.set_data(values.data(), values.size()));
        EXPECT_TRUE(writer.write()) << writer.error_message;
        writer.close();
        return read_file(path);
    }
};

TEST_F(Svg_writer, WaveIsOnePolylineWithOnePointPerSample)
{
    for (const std::size_t count : {1, 2, 7, 600, 65536}) {
        const std::string document = draw(sine_cycle(count, {1}), "wave");
        const auto root = parse_svg(document);
        const auto polylines = find_elements(*root, "polyline");
        ASSERT_EQ(polylines.size(), 1u) << count;
        EXPECT_EQ(polyline_points(*polylines.front()).size(), count);
        EXPECT_TRUE(find_elements(*root, "path").empty());
        // Short coordinates keep even the longest cycle below a megabyte.
        EXPECT_LT(document.size(), 1u << 20);
    }
}

TEST_F(Svg_writer, WaveSpansOneCycleAcrossTheWidth)
{
    const auto root = parse_svg(draw(sine_cycle(8, {1}), "wave"));
    const Frame frame = frame_of(*root);
    const auto points = polyline_points(*find_elements(*root, "polyline").front());
    const double step = (frame.right_x - frame.left_x) / 8;
    for (std::size_t i = 0; i < points.size(); ++i)
        EXPECT_NEAR(points[i].x, frame.left_x + step * static_cast<double>(i), 0.01) << i;
}

TEST_F(Svg_writer, WaveSamplesLandWhereTheirValuesSay)
{
    // `height` is where the sample must land: 1 on the upper grid line, 0 on
    // the zero line, -1 on the lower grid line, in between proportionally.
    struct Case {
        std::vector<double> samples;
        std::size_t index;
        double height;
    };
    const Case cases[] = {
        {{0, 1, 0, -1}, 0, 0.0},
        {{0, 1, 0, -1}, 1, 1.0},
        {{0, 1, 0, -1}, 3, -1.0},
        {{0, 0.5, 0, -0.25}, 1, 1.0},
        {{0, 0.5, 0, -0.25}, 3, -0.5},
        {{0.2, -2, 1}, 1, -1.0},
        {{0.2, -2, 1}, 2, 0.5},
    };
    for (const Case& c : cases) {
        const auto root = parse_svg(draw(c.samples, "wave"));
        const Frame frame = frame_of(*root);
        EXPECT_NEAR(frame.zero_y, (frame.top_y + frame.bottom_y) / 2, 0.01);
        const auto points = polyline_points(*find_elements(*root, "polyline").front());
        EXPECT_NEAR(points[c.index].y, frame.zero_y - c.height * (frame.zero_y - frame.top_y),
                    0.01)
            << "sample " << c.index << " of " << c.samples.size();
    }
}

TEST_F(Svg_writer, SilentWaveLiesOnTheZeroLine)
{
    const std::string document = draw({0, 0, 0, 0}, "wave");
    const auto root = parse_svg(document);
    const Frame frame = frame_of(*root);
    for (const Svg_point& point : polyline_points(*find_elements(*root, "polyline").front()))
        EXPECT_EQ(point.y, frame.zero_y);
    EXPECT_EQ(document.find("nan"), std::string::npos);
    EXPECT_EQ(document.find("inf"), std::string::npos);
}

TEST_F(Svg_writer, WaveMarksSampleIndicesAlongTheAxis)
{
    const auto root = parse_svg(draw(sine_cycle(600, {1}), "wave"));
    const Frame frame = frame_of(*root);
    const auto labels = axis_labels(*root);
    const std::vector<std::string> expected{"0", "150", "300", "450", "600"};
    ASSERT_EQ(labels.size(), expected.size());
    for (std::size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(labels[i].first, expected[i]);
        EXPECT_NEAR(labels[i].second,
                    frame.left_x + (frame.right_x - frame.left_x) * std::stod(expected[i]) / 600,
                    0.01);
    }
}

TEST_F(Svg_writer, SpectrumIsOneBarPerHarmonic)
{
    for (const std::size_t count : {1, 3, 64, 1000, 65536}) {
        std::vector<double> amplitudes(count);
        for (std::size_t k = 0; k < count; ++k)
            amplitudes[k] = 1.0 / static_cast<double>(k + 1);
        const auto root = parse_svg(draw(amplitudes, "harm"));
        const auto paths = find_elements(*root, "path");
        ASSERT_EQ(paths.size(), 1u) << count;
        const auto bars = path_bars(*paths.front());
        EXPECT_EQ(bars.size(), count);
        EXPECT_TRUE(find_elements(*root, "polyline").empty());
        const Frame frame = frame_of(*root);
        EXPECT_GT(bars.front().x, frame.left_x);
        EXPECT_LT(bars.back().x, frame.right_x);
        // A bar is at least one unit wide, so a lone harmonic stays visible.
        EXPECT_GE(paths.front()->number("stroke-width"), 1.0);
    }
}

TEST_F(Svg_writer, SpectrumBarsReachTheirAmplitudes)
{
    // `heights` as for waves: 1 reaches the upper grid line, -1 the lower.
    struct Case {
        std::vector<double> amplitudes;
        std::vector<double> heights;
    };
    const Case cases[] = {
        {{1, 0.5, 0, -0.25}, {1, 0.5, 0, -0.25}},
        {{2, 1}, {1, 0.5}},
        {{-0.5, 0.25}, {-1, 0.5}},
        {{0, 0, 0}, {0, 0, 0}},
    };
    // With bars on both sides the zero line halves the plot's height.
    const Frame both_sides = frame_of(*parse_svg(draw({1, -1}, "harm")));
    const double plot_height = both_sides.bottom_y - both_sides.top_y;
    for (const Case& c : cases) {
        const auto root = parse_svg(draw(c.amplitudes, "harm"));
        const Frame frame = frame_of(*root);
        const auto bars = path_bars(*find_elements(*root, "path").front());
        ASSERT_EQ(bars.size(), c.heights.size());
        const double reach = frame.zero_y - frame.top_y;
        for (std::size_t k = 0; k < bars.size(); ++k) {
            EXPECT_EQ(bars[k].from_y, frame.zero_y) << "bar " << k;
            EXPECT_NEAR(bars[k].to_y, frame.zero_y - c.heights[k] * reach, 0.01) << "bar " << k;
        }
        const bool has_negative = std::any_of(c.amplitudes.begin(), c.amplitudes.end(),
                                              [](double amplitude) { return amplitude < 0; });
        if (has_negative) {
            EXPECT_NEAR(frame.zero_y, (frame.top_y + frame.bottom_y) / 2, 0.01);
        } else {
            // Nothing below zero: the whole height is for the bars.
            EXPECT_NEAR(frame.zero_y - frame.top_y, plot_height, 0.01);
        }
    }
}

TEST_F(Svg_writer, SpectrumMarksHarmonicNumbersUnderTheirBars)
{
    struct Case {
        std::size_t count;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {1, {"1"}},
        {8, {"1", "2", "3", "4", "5", "6", "7", "8"}},
        {64, {"1", "5", "10", "15", "20", "25", "30", "35", "40", "45", "50", "55", "60"}},
        {300, {"1", "20", "40", "60", "80", "100", "120", "140", "160", "180", "200", "220",
               "240", "260", "280", "300"}},
    };
    for (const Case& c : cases) {
        const auto root = parse_svg(draw(std::vector<double>(c.count, 0.5), "harm"));
        const auto bars = path_bars(*find_elements(*root, "path").front());
        const auto labels = axis_labels(*root);
        ASSERT_EQ(labels.size(), c.labels.size()) << c.count;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(labels[i].first, c.labels[i]);
            const std::size_t harmonic = std::stoul(c.labels[i]);
            EXPECT_NEAR(labels[i].second, bars[harmonic - 1].x, 0.01) << harmonic;
        }
    }
}

TEST_F(Svg_writer, CaptionNamesTypeAndCount)
{
    struct Case {
        std::string type;
        std::size_t count;
        std::string caption;
    };
    const Case cases[] = {
        {"wave", 600, "wave: 600 samples"},
        {"wave", 1, "wave: 1 sample"},
        {"harm", 64, "harm: 64 harmonics"},
        {"harm", 1, "harm: 1 harmonic"},
    };
    for (const Case& c : cases) {
        const auto root = parse_svg(draw(std::vector<double>(c.count, 0.5), c.type));
        const auto titles = find_elements(*root, "title");
        ASSERT_EQ(titles.size(), 1u);
        EXPECT_EQ(titles.front()->text, c.caption);
        std::vector<std::string> captions;
        for (const Svg_element* text : find_elements(*root, "text"))
            if (text->group_class() == "caption")
                captions.push_back(text->text);
        ASSERT_FALSE(captions.empty());
        EXPECT_EQ(captions.front(), c.caption);
    }
}

TEST_F(Svg_writer, DocumentIsSelfContainedSvg11OfFixedSize)
{
    const std::regex number_with_many_decimals(R"(\d\.\d{3,})");
    for (const std::string type : {"wave", "harm"}) {
        const std::string document = draw({0.25, -1, 0.123456789, 1e-9}, type);
        const auto root = parse_svg(document);
        EXPECT_EQ(root->name, "svg");
        EXPECT_EQ(root->attribute("xmlns"), "http://www.w3.org/2000/svg");
        EXPECT_EQ(root->attribute("version"), "1.1");
        EXPECT_EQ(root->attribute("viewBox"), "0 0 800 400");
        EXPECT_EQ(root->attribute("width"), "800");
        EXPECT_EQ(root->attribute("height"), "400");
        EXPECT_EQ(document.find("<!"), std::string::npos) << "no doctype or entities";
        for (const char* foreign : {"script", "image", "use", "a", "foreignObject", "style"})
            EXPECT_TRUE(find_elements(*root, foreign).empty()) << foreign;
        for (const char* reference : {"href", "url(", "javascript", "@import"})
            EXPECT_EQ(document.find(reference), std::string::npos) << reference;
        // Coordinates carry at most two decimals and stay inside the viewBox.
        for (const char* name : {"line", "text", "polyline", "path"})
            for (const Svg_element* element : find_elements(*root, name))
                for (const auto& [key, value] : element->attributes) {
                    if (key != "stroke-width") {
                        EXPECT_FALSE(std::regex_search(value, number_with_many_decimals))
                            << key << "=" << value;
                    }
                }
        for (const Svg_element* line : find_elements(*root, "line"))
            for (const char* key : {"x1", "x2", "y1", "y2"}) {
                EXPECT_GE(line->number(key), 0);
                EXPECT_LE(line->number(key), key[0] == 'x' ? 800 : 400);
            }
    }
}

TEST_F(Svg_writer, ValueThatIsNotANumberIsRefused)
{
    for (const double strange : {std::numeric_limits<double>::quiet_NaN(),
                                 std::numeric_limits<double>::infinity()}) {
        const std::string path = folder.path("strange" + std::to_string(++pictures) + ".svg");
        Ac_outfile_svg writer(path, "harm");
        const double values[] = {0.5, strange};
        ASSERT_TRUE(writer.open());
        ASSERT_TRUE(writer.set_data(values, 2));
        EXPECT_FALSE(writer.write());
        EXPECT_EQ(writer.error_message,
                  "Can't draw a value that is not a finite number into " + path);
    }
}

}  // namespace
}  // namespace Vemo::testing
