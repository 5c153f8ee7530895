// The SVG writer's pictures, read back and measured: how many points and
// bars they hold, where every value lands, the marks along the axis, the
// caption, what the document may hold, and how the waves of a table stack.

#include "outfile/ac_outfile_svg.hpp"
#include "outfile/svg_picture.hpp"
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

    /// The bytes the writer of the last picture said it would need.
    std::uint64_t memory_needed = 0;

    /// Draws `values` as `type` into a new file and returns the document;
    /// as a table of `waves` waves when that is above 0.
    std::string draw(const std::vector<double>& values, const std::string& type,
                     std::uint64_t waves = 0)
    {
        const std::string path = folder.path("picture" + std::to_string(++pictures) + ".svg");
        Ac_outfile_svg writer(path, type);
        EXPECT_TRUE(waves == 0 || writer.set_table(waves, values.size() / waves));
        memory_needed = writer.memory_needed(values.size());
        EXPECT_TRUE(writer.open()) << writer.error_message;
        EXPECT_TRUE(writer.set_data(values.data(), values.size()));
        EXPECT_TRUE(writer.write()) << writer.error_message;
        EXPECT_TRUE(writer.publish()) << writer.error_message;
        return read_file(path);
    }
};

/// One wave or spectrum of a table as drawn, its first value on its zero
/// line: where it starts, that zero line, how far it reaches from it, and
/// whether all of it lies inside the viewBox.
struct Drawn_wave {
    double left_x;
    double zero_y;
    double reach = 0;
    bool inside = true;
};

/// The waves of a picture in the order they are drawn.
std::vector<Drawn_wave> drawn_waves(const std::string& svg)
{
    std::vector<Drawn_wave> drawn;
    const auto take = [&drawn](double x, double y, double half_width) {
        Drawn_wave& wave = drawn.back();
        wave.reach = std::max(wave.reach, std::fabs(y - wave.zero_y));
        wave.inside = wave.inside && x >= half_width && x + half_width <= 800 && y >= 0 && y <= 400;
    };
    for (const Svg_element& line : elements(svg, "polyline")) {
        const std::vector<Svg_point> points = polyline_points(line.attribute("points"));
        drawn.push_back({points.at(0).x, points.at(0).y});
        for (const Svg_point& point : points)
            take(point.x, point.y, 0);
    }
    for (const Svg_element& path : elements(svg, "path")) {
        const std::vector<Svg_bar> bars = path_bars(path.attribute("d"));
        drawn.push_back({bars.at(0).x, bars.at(0).from_y});
        for (const Svg_bar& bar : bars)
            take(bar.x, bar.to_y, path.number("stroke-width") / 2);
    }
    return drawn;
}

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

TEST_F(Svg_writer, DrawsATableOfOneWaveAsASingleRunDrawsIt)
{
    struct Case {
        std::vector<double> values;
        std::string type;
        std::string caption;
    };
    const Case cases[] = {
        {{0, 1, 0, -1}, "wave", "wave: 4 samples"},
        {sine_cycle(600, {1, 0.5}), "wave", "wave: 600 samples"},
        {{1, -0.5, 0.25}, "harm", "harm: 3 harmonics"},
        {{0.5}, "harm", "harm: 1 harmonic"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const std::size_t count = c.values.size();
        EXPECT_EQ(draw(c.values, c.type, 1),
                  c.type == "wave" ? draw_wave(c.values.data(), count, c.caption)
                                   : draw_spectrum(c.values.data(), count, c.caption));
    }
}

TEST_F(Svg_writer, StacksTheWavesOfATableFromTheFirstInFront)
{
    struct Case {
        std::string type;
        std::size_t waves;
        std::size_t size;
        bool negative;
        std::string caption;
    };
    const Case cases[] = {
        {"wave", 3, 64, false, "wave: 3 waves of 64 samples"},
        {"wave", 256, 2048, false, "wave: 256 waves of 2048 samples"},
        {"wave", 2, 65536, false, "wave: 2 waves of 65536 samples"},
        {"harm", 4, 16, false, "harm: 4 spectra of 16 harmonics"},
        {"harm", 5, 8, true, "harm: 5 spectra of 8 harmonics"},
        {"harm", 40, 1, false, "harm: 40 spectra of 1 harmonic"},
        {"harm", 2, 65536, false, "harm: 2 spectra of 65536 harmonics"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        // The first wave is at half the level of the last, the loudest.
        const auto level = [&c](std::size_t wave) {
            return 0.5 + 0.5 * static_cast<double>(wave) / static_cast<double>(c.waves - 1);
        };
        std::vector<double> values;
        for (std::size_t wave = 0; wave < c.waves; ++wave) {
            std::vector<double> one =
                c.type == "wave" ? sine_cycle(c.size, {1}) : saw_amplitudes(c.size);
            for (std::size_t k = 0; k < c.size; ++k)
                values.push_back(one[k] * level(wave) * (c.negative && k % 2 ? -1 : 1));
        }
        const std::string svg = draw(values, c.type, c.waves);
        expect_picture(svg, c.caption);
        EXPECT_LT(svg.size(), 1u << 20);
        EXPECT_GE(memory_needed, svg.size() + values.size() * sizeof(double));

        // At most 32 waves are drawn, the first and the last among them, from
        // the back to the front, each further left and lower. The front wave
        // lies in the frame that the labels name; the loudest reaches the
        // height of the grid line and the others keep their levels.
        const std::vector<Drawn_wave> drawn = drawn_waves(svg);
        ASSERT_EQ(drawn.size(), std::min<std::size_t>(c.waves, 32));
        const std::size_t last = drawn.size() - 1;
        const Frame frame = frame_of(svg);
        EXPECT_EQ(drawn[last].left_x, axis_labels(svg).at(0).second);
        EXPECT_EQ(drawn[last].zero_y, frame.zero_y);
        EXPECT_NEAR(drawn[0].reach, frame.zero_y - frame.top_y, 0.01);
        for (std::size_t at = 0; at <= last; ++at) {
            EXPECT_TRUE(drawn[at].inside) << at;
            if (at > 0) {
                EXPECT_LT(drawn[at].left_x, drawn[at - 1].left_x) << at;
                EXPECT_GT(drawn[at].zero_y, drawn[at - 1].zero_y) << at;
            }
            const std::size_t wave = drawn.size() == c.waves ? last - at : at == 0 ? c.waves - 1 : 0;
            if (drawn.size() == c.waves || at == 0 || at == last) {
                EXPECT_NEAR(drawn[at].reach / drawn[0].reach, level(wave) / level(c.waves - 1),
                            0.001)
                    << at;
            }
        }
    }
}

}  // namespace
}  // namespace Vemo::testing
