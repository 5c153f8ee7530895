// Drawing of waves, spectra and tables of them as SVG 1.1 documents with the
// fixed viewBox 0 0 800 400. Only numbers and texts of our own go into a
// document, so nothing needs escaping.

#include "outfile/svg_picture.hpp"

#include "stage/value_array.hpp"
#include "system/memory_budget.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

namespace Vemo {

namespace {

// The frame of every picture, in user units of the 800 x 400 viewBox. The
// plot area leaves room for the caption above it and the labels around it.
constexpr double plot_left = 60;
constexpr double plot_right = 780;
constexpr double plot_top = 40;
constexpr double plot_bottom = 350;

/// Spectra with more harmonics than this get a label on every n-th bar only.
constexpr std::uint64_t most_harmonic_labels = 16;

/// Appends `value` with at most `decimals` decimals and no trailing zeros.
/// Two decimals are far finer than a pixel, and keep a wave of 65536
/// samples small.
void append_number(std::string& svg, double value, int decimals = 2)
{
    char digits[64];
    const auto result = std::to_chars(digits, digits + sizeof digits, value,
                                      std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) {
        svg += '0';
        return;
    }
    char* end = result.ptr;
    if (std::find(digits, end, '.') != end) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.')
            --end;
    }
    const std::string_view number(digits, static_cast<std::size_t>(end - digits));
    svg += number == "-0" ? "0" : number;
}

/// Appends a value as a label shows it: three significant digits.
void append_label_value(std::string& svg, double value)
{
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value,
                                      std::chars_format::general, 3);
    svg.append(digits, result.ptr);
}

void append_line(std::string& svg, double x1, double y1, double x2, double y2)
{
    svg += "<line x1=\"";
    append_number(svg, x1);
    svg += "\" y1=\"";
    append_number(svg, y1);
    svg += "\" x2=\"";
    append_number(svg, x2);
    svg += "\" y2=\"";
    append_number(svg, y2);
    svg += "\"/>\n";
}

/// A label whose text is made only of digits, signs and letters of our own,
/// so nothing in it needs escaping.
void append_label(std::string& svg, double x, double y, std::string_view anchor,
                  std::string_view text)
{
    svg += "<text x=\"";
    append_number(svg, x);
    svg += "\" y=\"";
    append_number(svg, y);
    svg += "\" text-anchor=\"";
    svg += anchor;
    svg += "\">";
    svg += text;
    svg += "</text>\n";
}

/// A label on the left of the plot naming the value at height `y`.
void append_value_label(std::string& svg, double y, double value)
{
    std::string text;
    append_label_value(text, value);
    append_label(svg, plot_left - 8, y + 4, "end", text);
}

/// A label under the plot naming the sample index or harmonic number at `x`.
void append_axis_label(std::string& svg, double x, std::uint64_t number)
{
    append_label(svg, x, plot_bottom + 20, "middle", std::to_string(number));
}

void begin_document(std::string& svg, const std::string& caption)
{
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"800\" "
           "height=\"400\" viewBox=\"0 0 800 400\">\n"
           "<title>";
    svg += caption;
    svg += "</title>\n"
           "<rect width=\"800\" height=\"400\" fill=\"#ffffff\"/>\n";
}

void end_document(std::string& svg, const std::string& caption, std::string_view axis_name)
{
    svg += "<g class=\"caption\" font-family=\"sans-serif\" fill=\"#202020\">\n"
           "<text x=\"60\" y=\"26\" font-size=\"15\">";
    svg += caption;
    svg += "</text>\n<text x=\"780\" y=\"392\" font-size=\"12\" text-anchor=\"end\">";
    svg += axis_name;
    svg += "</text>\n</g>\n</svg>\n";
}

void begin_group(std::string& svg, std::string_view css_class, std::string_view attributes)
{
    svg += "<g class=\"";
    svg += css_class;
    svg += "\" ";
    svg += attributes;
    svg += ">\n";
}

constexpr std::string_view grid_style = "stroke=\"#d0d0d0\" stroke-width=\"1\"";
constexpr std::string_view zero_style = "stroke=\"#808080\" stroke-width=\"1\"";
constexpr std::string_view label_style =
    "font-family=\"sans-serif\" font-size=\"12\" fill=\"#505050\"";
constexpr std::string_view curve_colour = "#1f5fbf";

/// The largest absolute value, or 1 for silence, so that the values always
/// fill the height and silence lies on the zero line.
double vertical_scale(const double* values, std::uint64_t count)
{
    const double peak = peak_of(values, count);
    return peak > 0.0 ? peak : 1.0;
}

/// The sample indices marked along a wave's axis: the start, the quarters
/// and the end of the cycle, each once.
std::vector<std::uint64_t> cycle_marks(std::uint64_t count)
{
    std::vector<std::uint64_t> marks;
    for (std::uint64_t quarter = 0; quarter <= 4; ++quarter) {
        const std::uint64_t mark = count / 4 * quarter + count % 4 * quarter / 4;
        if (marks.empty() || marks.back() != mark)
            marks.push_back(mark);
    }
    return marks;
}

/// The distance between labelled harmonics: 1, 2, 5, 10, 20, 50 and so on,
/// the first that leaves at most `most_harmonic_labels` of them.
std::uint64_t harmonic_label_step(std::uint64_t count)
{
    for (std::uint64_t decade = 1;; decade *= 10)
        for (const std::uint64_t factor : {1, 2, 5})
            if (count / (factor * decade) <= most_harmonic_labels)
                return factor * decade;
}

/// Where one wave or spectrum is drawn: the whole plot for a single one, a
/// smaller box for each wave of a table.
struct Box {
    double left;
    double right;
    double top;
    double bottom;

    double width() const { return right - left; }
    double middle() const { return (top + bottom) / 2; }
};

constexpr Box whole_plot{plot_left, plot_right, plot_top, plot_bottom};

// A table is drawn as wavetable synths show one: the waves one above another,
// each further back a step up and to the right, the first in front. The last
// wave's box lies `depth_x` right of and `depth_y` above the first's; the
// plot ends short of the right edge to leave room for the wave numbers.
constexpr double table_right = 760;
constexpr double depth_x = 150;
constexpr double depth_y = 110;
constexpr Box front_box{plot_left, table_right - depth_x, plot_top + depth_y, plot_bottom};

/// The box of the wave `depth` of the way from the first wave to the last.
Box box_at_depth(double depth)
{
    const double right = depth * depth_x;
    const double up = depth * depth_y;
    return {front_box.left + right, front_box.right + right, front_box.top - up,
            front_box.bottom - up};
}

/// The most waves a table picture draws. With more, the lines of
/// neighbouring waves, 3.5 units apart at 32, run together and the document
/// only grows; so a larger table shows this many of its waves, evenly
/// picked, the first and the last among them.
constexpr std::uint64_t most_drawn_waves = 32;

/// The units across a wave of a table. A wave with more than two values for
/// each is drawn with the lowest and the highest value of each unit only:
/// its line still reaches every peak, and a table of long waves makes a
/// picture of well under a megabyte.
constexpr std::uint64_t table_columns = static_cast<std::uint64_t>(front_box.right - front_box.left);

/// For a single wave or spectrum: every value is drawn.
constexpr std::uint64_t every_value = std::numeric_limits<std::uint64_t>::max() / 2;

/// The bytes a point of a curve or a bar of a table takes at most, and those
/// of the frame, the labels and the element around each wave.
constexpr std::uint64_t table_bytes_per_value = 24;
constexpr std::uint64_t table_bytes_of_frame = 4096;
constexpr std::uint64_t table_bytes_per_wave = 256;

/// Calls `visit` in order with the index of every value drawn of `count`
/// across `columns` units: all of them while there are at most two for each
/// unit, otherwise the lowest and the highest of each unit.
template <typename Visit>
void for_each_drawn(const double* values, std::uint64_t count, std::uint64_t columns,
                    Visit visit)
{
    if (count <= 2 * columns) {
        for (std::uint64_t i = 0; i < count; ++i)
            visit(i);
        return;
    }
    std::uint64_t begin = 0;
    for (std::uint64_t column = 1; column <= columns; ++column) {
        const std::uint64_t end = count / columns * column + count % columns * column / columns;
        const auto [low, high] = std::minmax_element(values + begin, values + end);
        const auto first = static_cast<std::uint64_t>(std::min(low, high) - values);
        const auto second = static_cast<std::uint64_t>(std::max(low, high) - values);
        visit(first);
        if (second != first)
            visit(second);
        begin = end;
    }
}

/// The waves a table picture draws, from the first: all of them, or
/// `most_drawn_waves` spread evenly from the first to the last.
std::vector<std::uint64_t> drawn_waves(std::uint64_t waves)
{
    const std::uint64_t drawn = std::min(waves, most_drawn_waves);
    std::vector<std::uint64_t> picked;
    for (std::uint64_t k = 0; k < drawn; ++k)
        picked.push_back(drawn == 1 ? 0 : (k * (waves - 1) + (drawn - 1) / 2) / (drawn - 1));
    return picked;
}

/// The colour of a wave of a table: the first's is the colour of a single
/// curve; the others are paler, the more the further back they lie, so that
/// the front stands out and the depth reads at a glance.
std::string depth_colour(std::uint64_t wave, double depth)
{
    if (wave == 0)
        return std::string(curve_colour);
    constexpr int near[3] = {0x7f, 0xa1, 0xd8};
    constexpr int far[3] = {0xc4, 0xd2, 0xe8};
    constexpr char hex[] = "0123456789abcdef";
    std::string colour = "#";
    for (int c = 0; c < 3; ++c) {
        const auto level = static_cast<int>(std::lround(near[c] + (far[c] - near[c]) * depth));
        colour += hex[level / 16];
        colour += hex[level % 16];
    }
    return colour;
}

/// The grid at the top and bottom of `box` and at the start, the quarters
/// and the end of the cycle, the zero line, and their labels.
void append_wave_frame(std::string& svg, const Box& box, double scale, std::uint64_t count)
{
    const double samples_across = static_cast<double>(std::max<std::uint64_t>(count, 1));
    const auto x_of = [&box, samples_across](std::uint64_t index) {
        return box.left + box.width() * static_cast<double>(index) / samples_across;
    };

    begin_group(svg, "grid", grid_style);
    append_line(svg, box.left, box.top, box.right, box.top);
    append_line(svg, box.left, box.bottom, box.right, box.bottom);
    const std::vector<std::uint64_t> marks = cycle_marks(count);
    for (const std::uint64_t mark : marks)
        append_line(svg, x_of(mark), box.top, x_of(mark), box.bottom);
    svg += "</g>\n";

    begin_group(svg, "zero", zero_style);
    append_line(svg, box.left, box.middle(), box.right, box.middle());
    svg += "</g>\n";

    begin_group(svg, "labels", label_style);
    // Waves arrive normalised, so these read 1, 0 and -1.
    append_value_label(svg, box.top, scale);
    append_value_label(svg, box.middle(), 0.0);
    append_value_label(svg, box.bottom, -scale);
    for (const std::uint64_t mark : marks)
        append_axis_label(svg, x_of(mark), mark);
    svg += "</g>\n";
}

/// One cycle in `box` as one polyline, however many samples it has: sample
/// i at i/count of the width, so the cycle's end, where the next cycle would
/// begin, is the right edge.
void append_curve(std::string& svg, const double* samples, std::uint64_t count, const Box& box,
                  double scale, std::string_view colour, std::string_view width,
                  std::uint64_t columns)
{
    const double half_height = box.bottom - box.middle();
    const double samples_across = static_cast<double>(std::max<std::uint64_t>(count, 1));
    svg += "<polyline class=\"wave\" fill=\"none\" stroke=\"";
    svg += colour;
    svg += "\" stroke-width=\"";
    svg += width;
    svg += "\" stroke-linejoin=\"round\" points=\"";
    bool first = true;
    for_each_drawn(samples, count, columns, [&](std::uint64_t i) {
        if (!first)
            svg += ' ';
        first = false;
        append_number(svg, box.left + box.width() * static_cast<double>(i) / samples_across);
        svg += ',';
        append_number(svg, box.middle() - samples[i] / scale * half_height);
    });
    svg += "\"/>\n";
}

/// The zero line of a spectrum in `box`: without negative amplitudes the
/// bottom of the box, otherwise its middle.
double spectrum_zero(const Box& box, bool has_negative)
{
    return has_negative ? box.middle() : box.bottom;
}

/// The centre of harmonic `index + 1`'s share of the width of `box`.
double bar_x(const Box& box, std::uint64_t count, std::uint64_t index)
{
    const double slot = box.width() / static_cast<double>(count);
    return box.left + slot * (static_cast<double>(index) + 0.5);
}

/// The grid at the top of `box` and, with negative amplitudes, at its
/// bottom, the zero line, the ticks and labels of the harmonic numbers.
void append_spectrum_frame(std::string& svg, const Box& box, double scale, std::uint64_t count,
                           bool has_negative)
{
    const double zero_y = spectrum_zero(box, has_negative);
    begin_group(svg, "grid", grid_style);
    append_line(svg, box.left, box.top, box.right, box.top);
    if (has_negative)
        append_line(svg, box.left, box.bottom, box.right, box.bottom);
    svg += "</g>\n";

    begin_group(svg, "zero", zero_style);
    append_line(svg, box.left, zero_y, box.right, zero_y);
    svg += "</g>\n";

    // Harmonic 1 and every multiple of the step are marked.
    std::vector<std::uint64_t> marked;
    const std::uint64_t step = harmonic_label_step(count);
    if (count > 0)
        marked.push_back(1);
    for (std::uint64_t harmonic = step; harmonic <= count; harmonic += step)
        if (harmonic != 1)
            marked.push_back(harmonic);

    begin_group(svg, "ticks", zero_style);
    for (const std::uint64_t harmonic : marked) {
        const double x = bar_x(box, count, harmonic - 1);
        append_line(svg, x, box.bottom, x, box.bottom + 5);
    }
    svg += "</g>\n";

    begin_group(svg, "labels", label_style);
    append_value_label(svg, box.top, scale);
    append_value_label(svg, zero_y, 0.0);
    if (has_negative)
        append_value_label(svg, box.bottom, -scale);
    for (const std::uint64_t harmonic : marked)
        append_axis_label(svg, bar_x(box, count, harmonic - 1), harmonic);
    svg += "</g>\n";
}

/// All bars of a spectrum in `box` as one path: a vertical stroke from the
/// zero line for each harmonic, a silent harmonic's of no length, centred in
/// its share of the width and at most `widest` wide.
void append_bars(std::string& svg, const double* amplitudes, std::uint64_t count, const Box& box,
                 bool has_negative, double scale, std::string_view colour, std::uint64_t columns,
                 double widest)
{
    const double zero_y = spectrum_zero(box, has_negative);
    const double bar_reach = zero_y - box.top;
    const double slot = box.width() / static_cast<double>(count);
    // Narrow slots are filled whole, and a bar is never thinner than one
    // unit, so that a lone harmonic in a dense spectrum stays visible.
    const double bar_width = std::min(slot >= 2.0 ? slot * 0.7 : std::max(slot, 1.0), widest);
    svg += "<path class=\"bars\" fill=\"none\" stroke=\"";
    svg += colour;
    svg += "\" stroke-width=\"";
    append_number(svg, bar_width, 4);
    svg += "\" d=\"";
    for_each_drawn(amplitudes, count, columns, [&](std::uint64_t k) {
        svg += 'M';
        append_number(svg, bar_x(box, count, k));
        svg += ' ';
        append_number(svg, zero_y);
        svg += 'V';
        append_number(svg, zero_y - amplitudes[k] / scale * bar_reach);
    });
    svg += "\"/>\n";
}

/// The depth of a table: the far edges of the plane of the zero line and,
/// when that is not the floor, the right edge of the floor, which carries
/// the numbers of the first and the last wave as the axis of the waves.
void append_depth(std::string& svg, std::uint64_t waves, double zero_y)
{
    const Box back = box_at_depth(1.0);
    const double back_zero_y = zero_y - depth_y;
    begin_group(svg, "depth", grid_style);
    append_line(svg, front_box.left, zero_y, back.left, back_zero_y);
    append_line(svg, back.left, back_zero_y, back.right, back_zero_y);
    append_line(svg, front_box.right, zero_y, back.right, back_zero_y);
    if (zero_y != front_box.bottom)
        append_line(svg, front_box.right, front_box.bottom, back.right, back.bottom);
    svg += "</g>\n";

    // Waves are numbered from 0, as a listing and a wave number count them.
    begin_group(svg, "wave-labels", label_style);
    append_label(svg, front_box.right + 8, front_box.bottom + 4, "start", "0");
    append_label(svg, back.right + 6, back.bottom + 4, "start", std::to_string(waves - 1));
    append_label(svg, (front_box.right + back.right) / 2 + 10,
                 (front_box.bottom + back.bottom) / 2 + 12, "start", "wave");
    svg += "</g>\n";
}

}  // namespace

std::string draw_wave(const double* samples, std::uint64_t count, const std::string& caption)
{
    const double scale = vertical_scale(samples, count);
    std::string svg;
    svg.reserve(2048 + count * 14);
    begin_document(svg, caption);
    append_wave_frame(svg, whole_plot, scale, count);
    if (count > 0)
        append_curve(svg, samples, count, whole_plot, scale, curve_colour, "1.5", every_value);
    end_document(svg, caption, "sample");
    return svg;
}

std::string draw_spectrum(const double* amplitudes, std::uint64_t count,
                          const std::string& caption)
{
    const double scale = vertical_scale(amplitudes, count);
    const bool has_negative = std::any_of(amplitudes, amplitudes + count,
                                          [](double amplitude) { return amplitude < 0.0; });
    std::string svg;
    svg.reserve(2048 + count * 20);
    begin_document(svg, caption);
    append_spectrum_frame(svg, whole_plot, scale, count, has_negative);
    if (count > 0)
        append_bars(svg, amplitudes, count, whole_plot, has_negative, scale, curve_colour,
                    every_value, std::numeric_limits<double>::infinity());
    end_document(svg, caption, "harmonic");
    return svg;
}

// The waves of a table are drawn from the back to the front, so that the
// first lies on top of all others, wider and in the colour of a single
// curve, the ones behind it paler the further back they lie. One scale for
// the whole table keeps the levels of its waves: a wave at half the level of
// the loudest is drawn half as high.

std::string draw_wave_table(const double* samples, std::uint64_t waves, std::uint64_t size,
                            const std::string& caption)
{
    if (waves <= 1)
        return draw_wave(samples, size, caption);
    const double scale = vertical_scale(samples, waves * size);
    std::string svg;
    svg.reserve(table_picture_bytes(waves, size));
    begin_document(svg, caption);
    append_wave_frame(svg, front_box, scale, size);
    append_depth(svg, waves, front_box.middle());
    const std::vector<std::uint64_t> drawn = drawn_waves(waves);
    for (auto wave = drawn.rbegin(); size > 0 && wave != drawn.rend(); ++wave) {
        const double depth = static_cast<double>(*wave) / static_cast<double>(waves - 1);
        append_curve(svg, samples + *wave * size, size, box_at_depth(depth), scale,
                     depth_colour(*wave, depth), *wave == 0 ? "1.5" : "1", table_columns);
    }
    end_document(svg, caption, "sample");
    return svg;
}

std::string draw_spectrum_table(const double* amplitudes, std::uint64_t waves,
                                std::uint64_t size, const std::string& caption)
{
    if (waves <= 1)
        return draw_spectrum(amplitudes, size, caption);
    const double scale = vertical_scale(amplitudes, waves * size);
    const bool has_negative = std::any_of(amplitudes, amplitudes + waves * size,
                                          [](double amplitude) { return amplitude < 0.0; });
    std::string svg;
    svg.reserve(table_picture_bytes(waves, size));
    begin_document(svg, caption);
    append_spectrum_frame(svg, front_box, scale, size, has_negative);
    append_depth(svg, waves, spectrum_zero(front_box, has_negative));
    const std::vector<std::uint64_t> drawn = drawn_waves(waves);
    // Bars narrower than the step from one spectrum to the next leave a gap
    // between neighbours, so that each spectrum reads as a row of its own.
    const double widest =
        std::max(1.0, 0.6 * depth_x / static_cast<double>(drawn.size() - 1));
    for (auto wave = drawn.rbegin(); size > 0 && wave != drawn.rend(); ++wave) {
        const double depth = static_cast<double>(*wave) / static_cast<double>(waves - 1);
        append_bars(svg, amplitudes + *wave * size, size, box_at_depth(depth), has_negative,
                    scale, depth_colour(*wave, depth), table_columns, widest);
    }
    end_document(svg, caption, "harmonic");
    return svg;
}

std::uint64_t table_picture_bytes(std::uint64_t waves, std::uint64_t size)
{
    // A single picture draws every value, in at most 20 bytes each, in a
    // frame and labels of less than 2 KiB.
    if (waves <= 1)
        return total_bytes({bytes_for(size, 20), 2048});
    const std::uint64_t per_wave =
        total_bytes({bytes_for(std::min(size, 2 * table_columns), table_bytes_per_value),
                     table_bytes_per_wave});
    return total_bytes(
        {bytes_for(std::min(waves, most_drawn_waves), per_wave), table_bytes_of_frame});
}

}  // namespace Vemo
