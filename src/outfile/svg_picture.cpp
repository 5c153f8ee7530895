// Drawing of waves and spectra as SVG 1.1 documents with the fixed viewBox
// 0 0 800 400. Only numbers and texts of our own go into a document, so
// nothing needs escaping.

#include "outfile/svg_picture.hpp"

#include "stage/value_array.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
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
constexpr double plot_middle = (plot_top + plot_bottom) / 2;
constexpr double plot_width = plot_right - plot_left;

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

}  // namespace

/// One cycle: sample i at i/count of the width, so the cycle's end, where
/// the next cycle would begin, is the right edge.
std::string draw_wave(const double* samples, std::uint64_t count, const std::string& caption)
{
    const double scale = vertical_scale(samples, count);
    const double half_height = plot_bottom - plot_middle;
    const double samples_across = static_cast<double>(std::max<std::uint64_t>(count, 1));
    const auto x_of = [samples_across](std::uint64_t index) {
        return plot_left + plot_width * static_cast<double>(index) / samples_across;
    };

    std::string svg;
    svg.reserve(2048 + count * 14);
    begin_document(svg, caption);

    begin_group(svg, "grid", grid_style);
    append_line(svg, plot_left, plot_top, plot_right, plot_top);
    append_line(svg, plot_left, plot_bottom, plot_right, plot_bottom);
    const std::vector<std::uint64_t> marks = cycle_marks(count);
    for (const std::uint64_t mark : marks)
        append_line(svg, x_of(mark), plot_top, x_of(mark), plot_bottom);
    svg += "</g>\n";

    begin_group(svg, "zero", zero_style);
    append_line(svg, plot_left, plot_middle, plot_right, plot_middle);
    svg += "</g>\n";

    begin_group(svg, "labels", label_style);
    // Waves arrive normalised, so these read 1, 0 and -1.
    append_value_label(svg, plot_top, scale);
    append_value_label(svg, plot_middle, 0.0);
    append_value_label(svg, plot_bottom, -scale);
    for (const std::uint64_t mark : marks)
        append_axis_label(svg, x_of(mark), mark);
    svg += "</g>\n";

    // The whole cycle is one polyline, however many samples it has.
    if (count > 0) {
        svg += "<polyline class=\"wave\" fill=\"none\" stroke=\"";
        svg += curve_colour;
        svg += "\" stroke-width=\"1.5\" stroke-linejoin=\"round\" points=\"";
        for (std::uint64_t i = 0; i < count; ++i) {
            if (i > 0)
                svg += ' ';
            append_number(svg, x_of(i));
            svg += ',';
            append_number(svg, plot_middle - samples[i] / scale * half_height);
        }
        svg += "\"/>\n";
    }

    end_document(svg, caption, "sample");
    return svg;
}

/// One bar per harmonic, centred in its share of the width. Without negative
/// amplitudes the zero line is the bottom of the plot, otherwise its middle.
std::string draw_spectrum(const double* amplitudes, std::uint64_t count,
                          const std::string& caption)
{
    const double scale = vertical_scale(amplitudes, count);
    const bool has_negative = std::any_of(amplitudes, amplitudes + count,
                                          [](double amplitude) { return amplitude < 0.0; });
    const double zero_y = has_negative ? plot_middle : plot_bottom;
    const double bar_reach = zero_y - plot_top;
    const double slot = plot_width / static_cast<double>(count);
    // Narrow slots are filled whole, and a bar is never thinner than one
    // unit, so that a lone harmonic in a dense spectrum stays visible.
    const double bar_width = slot >= 2.0 ? slot * 0.7 : std::max(slot, 1.0);
    const auto x_of = [slot](std::uint64_t index) {
        return plot_left + slot * (static_cast<double>(index) + 0.5);
    };

    std::string svg;
    svg.reserve(2048 + count * 20);
    begin_document(svg, caption);

    begin_group(svg, "grid", grid_style);
    append_line(svg, plot_left, plot_top, plot_right, plot_top);
    if (has_negative)
        append_line(svg, plot_left, plot_bottom, plot_right, plot_bottom);
    svg += "</g>\n";

    begin_group(svg, "zero", zero_style);
    append_line(svg, plot_left, zero_y, plot_right, zero_y);
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
    for (const std::uint64_t harmonic : marked)
        append_line(svg, x_of(harmonic - 1), plot_bottom, x_of(harmonic - 1), plot_bottom + 5);
    svg += "</g>\n";

    begin_group(svg, "labels", label_style);
    append_value_label(svg, plot_top, scale);
    append_value_label(svg, zero_y, 0.0);
    if (has_negative)
        append_value_label(svg, plot_bottom, -scale);
    for (const std::uint64_t harmonic : marked)
        append_axis_label(svg, x_of(harmonic - 1), harmonic);
    svg += "</g>\n";

    // All bars are one path: a vertical stroke from the zero line for each
    // harmonic, a silent harmonic's of no length.
    if (count > 0) {
        svg += "<path class=\"bars\" fill=\"none\" stroke=\"";
        svg += curve_colour;
        svg += "\" stroke-width=\"";
        append_number(svg, bar_width, 4);
        svg += "\" d=\"";
        for (std::uint64_t k = 0; k < count; ++k) {
            svg += 'M';
            append_number(svg, x_of(k));
            svg += ' ';
            append_number(svg, zero_y);
            svg += 'V';
            append_number(svg, zero_y - amplitudes[k] / scale * bar_reach);
        }
        svg += "\"/>\n";
    }

    end_document(svg, caption, "harmonic");
    return svg;
}


}  // namespace Vemo
