#pragma once

// Reads back the SVG pictures that the program draws, so that tests can check
// their structure and geometry instead of their exact text. Pictures hold
// plain elements with attributes in double quotes; that is all this knows.

#include <cmath>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace Vemo::testing {

struct Svg_element {
    std::map<std::string, std::string> attributes;
    /// The text up to the next tag, for elements that are not empty.
    std::string text;

    std::string attribute(const std::string& key) const
    {
        const auto found = attributes.find(key);
        return found == attributes.end() ? std::string() : found->second;
    }
    double number(const std::string& key) const
    {
        const auto found = attributes.find(key);
        return found == attributes.end() ? NAN : std::strtod(found->second.c_str(), nullptr);
    }
};

/// The elements named `name` in `svg` (a picture or a part of it), in order;
/// throws when an element names an attribute twice.
inline std::vector<Svg_element> elements(const std::string& svg, const std::string& name)
{
    std::vector<Svg_element> found;
    const std::string start = "<" + name;
    for (std::size_t at = svg.find(start); at != std::string::npos; at = svg.find(start, at + 1)) {
        const std::size_t tag_end = svg.find('>', at);
        const char after = svg[at + start.size()];
        if (tag_end == std::string::npos || (after != ' ' && after != '>' && after != '/'))
            continue;
        Svg_element element;
        for (std::size_t equals = svg.find("=\"", at); equals < tag_end;
             equals = svg.find("=\"", equals + 1)) {
            const std::size_t key = svg.rfind(' ', equals) + 1;
            const std::size_t value_end = svg.find('"', equals + 2);
            if (!element.attributes
                     .emplace(svg.substr(key, equals - key),
                              svg.substr(equals + 2, value_end - equals - 2))
                     .second)
                throw std::runtime_error("an attribute of " + name + " is given twice");
            equals = value_end;
        }
        if (svg[tag_end - 1] != '/')
            element.text = svg.substr(tag_end + 1, svg.find('<', tag_end) - tag_end - 1);
        found.push_back(element);
    }
    return found;
}

/// The part of `svg` inside the group of class `css_class`.
inline std::string group(const std::string& svg, const std::string& css_class)
{
    const std::size_t start = svg.find("<g class=\"" + css_class + "\"");
    if (start == std::string::npos)
        return "";
    return svg.substr(start, svg.find("</g>", start) - start);
}

/// True when every tag that opens is closed, in order, and one element holds
/// all others: a light check that the picture is well formed.
inline bool tags_balance(const std::string& svg)
{
    std::vector<std::string> open;
    int roots = 0;
    for (std::size_t at = svg.find('<'); at != std::string::npos; at = svg.find('<', at + 1)) {
        const std::size_t tag_end = svg.find('>', at);
        if (tag_end == std::string::npos)
            return false;
        if (svg[at + 1] == '?')
            continue;
        const bool closing = svg[at + 1] == '/';
        const std::size_t name_start = at + 1 + (closing ? 1 : 0);
        const std::string name =
            svg.substr(name_start, svg.find_first_of(" />", name_start) - name_start);
        if (closing) {
            if (open.empty() || open.back() != name)
                return false;
            open.pop_back();
        } else {
            roots += open.empty() ? 1 : 0;
            if (svg[tag_end - 1] != '/')
                open.push_back(name);
        }
    }
    return open.empty() && roots == 1;
}

struct Svg_point {
    double x;
    double y;
};

/// The points of a polyline's "points", written as "x,y x,y ...".
inline std::vector<Svg_point> polyline_points(const std::string& points)
{
    std::vector<Svg_point> found;
    for (const char* next = points.c_str(); *next;) {
        char* end = nullptr;
        const double x = std::strtod(next, &end);
        if (end == next || *end != ',')
            return {};
        const double y = std::strtod(end + 1, &end);
        found.push_back({x, y});
        for (next = end; *next == ' ';)
            ++next;
    }
    return found;
}

/// A vertical bar: its horizontal position and where it starts and ends.
struct Svg_bar {
    double x;
    double from_y;
    double to_y;
};

/// The bars of a path drawn as "Mx y0Vy1" for every bar.
inline std::vector<Svg_bar> path_bars(const std::string& path)
{
    std::vector<Svg_bar> found;
    for (const char* next = path.c_str(); *next == 'M';) {
        char* end = nullptr;
        const double x = std::strtod(next + 1, &end);
        const double from_y = std::strtod(end, &end);
        if (*end != 'V')
            return {};
        const double to_y = std::strtod(end + 1, &end);
        found.push_back({x, from_y, to_y});
        next = end;
    }
    return found;
}

}  // namespace Vemo::testing
