// The SVG writer's pictures, read back and measured: how many points and
// bars they hold, where every value lands, the marks along the axis, the
// caption, and what the document may hold.

#include "outfile/ac_outfile_svg.hpp"
#include "support/reference_cycles.hpp"
#include "support/svg_picture.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace Vemo::testing {
namespace {

/// The frame a picture draws its values in: the zero line and the grid lines
/// of the largest value above and below it.
struct Frame {
    double zero_y;
    double top_y;
    double bottom_y;
    double left_x;
    double right_x;
};

Frame frame_of(const std::string& svg)
{
    std::vector<double> grid;
    for (const Svg_element& line : elements(group(svg, "grid"), "line"))
        if (line.number("y1") == line.number("y2"))
            grid.push_back(line.number("y1"));
    const std::vector<Svg_element> zero = elements(group(svg, "zero"), "line");
    if (zero.size() != 1 || grid.empty())
        throw std::runtime_error("a picture needs one zero line and a grid");
    const auto [top, bottom] = std::minmax_element(grid.begin(), grid.end());
    return {zero[0].number("y1"), *top, *bottom, zero[0].number("x1"), zero[0].number("x2")};
}

/// The marks under the plot, as text and horizontal position.
std::vector<std::pair<std::string, double>> axis_labels(const std::string& svg)
{
    std::vector<std::pair<std::string, double>> labels;
    for (const Svg_element& text : elements(group(svg, "labels"), "text"))
        if (text.attribute("text-anchor") == "middle")
            labels.emplace_back(text.text, text.number("x"));
    return labels;
}

/// The most digits after a decimal point in `value`.
std::size_t most_decimals(const std::string& value)
{
    std::size_t most = 0;
    for (std::size_t point = value.find('.'); point != std::string::npos;
         point = value.find('.', point + 1)) {
        const std::size_t end = value.find_first_not_of("0123456789", point + 1);
        most = std::max(most, (end == std::string::npos ? value.size() : end) - point - 1);
    }
    return most;
}

/// What every picture must be: a self-contained SVG 1.1 document of fixed
/// size, with short coordinates inside its viewBox, captioned `caption`.
void expect_picture(const std::string& svg, const std::string& caption)
{
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    EXPECT_TRUE(tags_balance(svg));
    const Svg_element root = elements(svg, "svg").at(0);
    EXPECT_EQ(root.attribute("xmlns"), "http://www.w3.org/2000/svg");
    EXPECT_EQ(root.attribute("version"), "1.1");
    EXPECT_EQ(root.attribute("viewBox"), "0 0 800 400");
    EXPECT_EQ(root.attribute("width"), "800");
    EXPECT_EQ(root.attribute("height"), "400");
    for (const char* foreign : {"<!", "<script", "<image", "<use", "<a ", "<foreignObject",
                                "<style", "href", "url(", "javascript", "@import", "&"})
        EXPECT_EQ(svg.find(foreign), std::string::npos) << foreign;
    // Coordinates carry at most two decimals and lines stay inside the viewBox.
    for (const char* name : {"line", "text", "polyline", "path"})
        for (const Svg_element& element : elements(svg, name))
            for (const auto& [key, value] : element.attributes)
                if (key != "stroke-width") {
                    EXPECT_LE(most_decimals(value), 2u) << key << "=" << value.substr(0, 40);
                }
    for (const Svg_element& line : elements(svg, "line"))
        for (const char* key : {"x1", "x2", "y1", "y2"}) {
            EXPECT_GE(line.number(key), 0);
            EXPECT_LE(line.number(key), key[0] == 'x' ? 800 : 400);
        }
    EXPECT_EQ(elements(svg, "title").at(0).text, caption);
    EXPECT_EQ(elements(group(svg, "caption"), "text").at(0).text, caption);
}

double peak_of(const std::vector<double>& values)
{
    double peak = 0.0;
    for (double value : values)
        peak = std::max(peak, std::fabs(value));
    return peak;
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
        EXPECT_TRUE(writer.publish()) << writer.error_message;
        return read_file(path);
    }
};

TEST_F(Svg_writer, DrawsAWaveAsOneLineThroughEverySample)
{
    struct Case {
        std::vector<double> samples;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {{0, 1, 0, -1}, {"0", "1", "2", "3", "4"}},
        {{0, 0.5, 0, -0.25}, {}},
        {{0.2, -2, 1}, {}},
        {{0, 0, 0, 0}, {}},
        {{0.5}, {}},
        {sine_cycle(7, {1}), {}},
        {sine_cycle(600, {1}), {"0", "150", "300", "450", "600"}},
        {sine_cycle(65536, {1}), {}},
    };
    for (const Case& c : cases) {
        const std::size_t count = c.samples.size();
        SCOPED_TRACE(std::to_string(count) + " samples");
        const std::string svg = draw(c.samples, "wave");
        expect_picture(svg,
                       "wave: " + std::to_string(count) + (count == 1 ? " sample" : " samples"));
        // Short coordinates keep even the longest cycle below a megabyte.
        EXPECT_LT(svg.size(), 1u << 20);
        EXPECT_TRUE(elements(svg, "path").empty());
        const std::vector<Svg_element> polylines = elements(svg, "polyline");
        ASSERT_EQ(polylines.size(), 1u);
        const std::vector<Svg_point> points = polyline_points(polylines[0].attribute("points"));
        ASSERT_EQ(points.size(), count);

        // One cycle across the width; the largest value reaches a grid line,
        // the others land in proportion, silence on the zero line.
        const Frame frame = frame_of(svg);
        EXPECT_NEAR(frame.zero_y, (frame.top_y + frame.bottom_y) / 2, 0.01);
        const double step = (frame.right_x - frame.left_x) / static_cast<double>(count);
        const double peak = peak_of(c.samples);
        for (std::size_t i = 0; i < count; ++i) {
            const double height = peak > 0 ? c.samples[i] / peak : 0.0;
            ASSERT_NEAR(points[i].x, frame.left_x + step * static_cast<double>(i), 0.01) << i;
            ASSERT_NEAR(points[i].y, frame.zero_y - height * (frame.zero_y - frame.top_y), 0.01)
                << i;
        }
        const auto labels = axis_labels(svg);
        for (std::size_t i = 0; i < c.labels.size(); ++i) {
            ASSERT_EQ(labels.size(), c.labels.size());
            EXPECT_EQ(labels[i].first, c.labels[i]);
            EXPECT_NEAR(labels[i].second, frame.left_x + step * std::stod(c.labels[i]), 0.01);
        }
    }
}

TEST_F(Svg_writer, DrawsASpectrumAsOneBarPerHarmonic)
{
    struct Case {
        std::vector<double> amplitudes;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {{1, 0.5, 0, -0.25}, {"1", "2", "3", "4"}},
        {{2, 1}, {}},
        {{-0.5, 0.25}, {}},
        {{0, 0, 0}, {}},
        {{0.5}, {"1"}},
        {std::vector<double>(8, 0.5), {"1", "2", "3", "4", "5", "6", "7", "8"}},
        {saw_amplitudes(64),
         {"1", "5", "10", "15", "20", "25", "30", "35", "40", "45", "50", "55", "60"}},
        {std::vector<double>(300, 0.5),
         {"1", "20", "40", "60", "80", "100", "120", "140", "160", "180", "200", "220", "240",
          "260", "280", "300"}},
        {saw_amplitudes(1000), {}},
        {saw_amplitudes(65536), {}},
    };
    // With bars on both sides the zero line halves the plot; with none below
    // zero it is the plot's bottom.
    const Frame both_sides = frame_of(draw({1, -1}, "harm"));
    for (const Case& c : cases) {
        const std::size_t count = c.amplitudes.size();
        SCOPED_TRACE(std::to_string(count) + " harmonics");
        const std::string svg = draw(c.amplitudes, "harm");
        expect_picture(
            svg, "harm: " + std::to_string(count) + (count == 1 ? " harmonic" : " harmonics"));
        EXPECT_TRUE(elements(svg, "polyline").empty());
        const std::vector<Svg_element> paths = elements(svg, "path");
        ASSERT_EQ(paths.size(), 1u);
        // A bar is at least one unit wide, so a lone harmonic stays visible.
        EXPECT_GE(paths[0].number("stroke-width"), 1.0);
        const std::vector<Svg_bar> bars = path_bars(paths[0].attribute("d"));
        ASSERT_EQ(bars.size(), count);

        const Frame frame = frame_of(svg);
        const bool has_negative = std::any_of(c.amplitudes.begin(), c.amplitudes.end(),
                                              [](double amplitude) { return amplitude < 0; });
        EXPECT_EQ(frame.zero_y, has_negative ? both_sides.zero_y : both_sides.bottom_y);
        const double peak = peak_of(c.amplitudes);
        for (std::size_t k = 0; k < count; ++k) {
            const double height = peak > 0 ? c.amplitudes[k] / peak : 0.0;
            ASSERT_GT(bars[k].x, frame.left_x);
            ASSERT_LT(bars[k].x, frame.right_x);
            ASSERT_EQ(bars[k].from_y, frame.zero_y) << "bar " << k;
            ASSERT_NEAR(bars[k].to_y, frame.zero_y - height * (frame.zero_y - frame.top_y), 0.01)
                << "bar " << k;
        }
        const auto labels = axis_labels(svg);
        for (std::size_t i = 0; i < c.labels.size(); ++i) {
            ASSERT_EQ(labels.size(), c.labels.size());
            EXPECT_EQ(labels[i].first, c.labels[i]);
            EXPECT_NEAR(labels[i].second, bars[std::stoul(c.labels[i]) - 1].x, 0.01);
        }
    }
}

}  // namespace
}  // namespace Vemo::testing
