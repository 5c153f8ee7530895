#pragma once

// Reads back the SVG pictures that the program draws, so that tests can check
// their structure and geometry instead of their exact text. The reader knows
// the XML that pictures use (a declaration, elements, attributes in double
// quotes, plain text) and refuses everything else, unbalanced tags included.

#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace Vemo::testing {

struct Svg_element {
    std::string name;
    std::map<std::string, std::string> attributes;
    std::string text;
    std::vector<std::unique_ptr<Svg_element>> children;
    const Svg_element* parent = nullptr;

    /// The attribute's value, or an empty string when it is absent.
    std::string attribute(const std::string& key) const
    {
        const auto found = attributes.find(key);
        return found == attributes.end() ? std::string() : found->second;
    }
    double number(const std::string& key) const
    {
        return std::strtod(attribute(key).c_str(), nullptr);
    }
    /// The class of the element, or else of the nearest group around it.
    std::string group_class() const
    {
        for (const Svg_element* element = this; element; element = element->parent)
            if (element->attributes.count("class"))
                return element->attribute("class");
        return "";
    }
};

/// Parses `document`; throws std::runtime_error when it is not well formed.
inline std::unique_ptr<Svg_element> parse_svg(std::string_view document)
{
    std::size_t at = 0;
    const auto fail = [&at](const std::string& why) {
        throw std::runtime_error(why + " at offset " + std::to_string(at));
    };
    const auto skip_blanks = [&] {
        while (at < document.size() && std::string_view(" \n\t\r").find(document[at]) !=
                                           std::string_view::npos)
            ++at;
    };
    const auto read_name = [&] {
        const std::size_t start = at;
        while (at < document.size() &&
               (std::isalnum(static_cast<unsigned char>(document[at])) ||
                std::string_view("-_:").find(document[at]) != std::string_view::npos))
            ++at;
        if (at == start)
            fail("name expected");
        return std::string(document.substr(start, at - start));
    };

    if (document.substr(0, 5) != "<?xml")
        fail("XML declaration expected");
    at = document.find("?>");
    if (at == std::string_view::npos)
        fail("unterminated declaration");
    at += 2;

    std::unique_ptr<Svg_element> root;
    std::vector<Svg_element*> open;
    for (;;) {
        if (open.empty())
            skip_blanks();
        if (at >= document.size())
            break;
        if (document[at] != '<') {
            if (open.empty())
                fail("text outside the root element");
            const std::size_t end = document.find('<', at);
            if (end == std::string_view::npos)
                fail("unterminated text");
            const std::string_view text = document.substr(at, end - at);
            if (text.find('&') != std::string_view::npos || text.find('>') != std::string_view::npos)
                fail("markup character in text");
            open.back()->text += text;
            at = end;
            continue;
        }
        ++at;
        if (at < document.size() && document[at] == '/') {
            ++at;
            const std::string name = read_name();
            if (open.empty() || open.back()->name != name)
                fail("closing tag " + name + " does not match");
            skip_blanks();
            if (at >= document.size() || document[at] != '>')
                fail("> expected");
            ++at;
            open.pop_back();
            continue;
        }
        if (root && open.empty())
            fail("a second root element");
        auto element = std::make_unique<Svg_element>();
        element->name = read_name();
        for (;;) {
            skip_blanks();
            if (at >= document.size())
                fail("unterminated tag");
            if (document[at] == '>' || document.substr(at, 2) == "/>")
                break;
            const std::string key = read_name();
            if (document.substr(at, 2) != "=\"")
                fail("=\" expected after " + key);
            at += 2;
            const std::size_t end = document.find('"', at);
            if (end == std::string_view::npos)
                fail("unterminated attribute");
            const std::string_view value = document.substr(at, end - at);
            if (value.find_first_of("<&") != std::string_view::npos)
                fail("markup character in attribute " + key);
            if (!element->attributes.emplace(key, std::string(value)).second)
                fail("attribute " + key + " given twice");
            at = end + 1;
        }
        const bool empty = document[at] == '/';
        at += empty ? 2 : 1;
        Svg_element* added = element.get();
        if (open.empty()) {
            root = std::move(element);
        } else {
            element->parent = open.back();
            open.back()->children.push_back(std::move(element));
        }
        if (!empty)
            open.push_back(added);
    }
    if (!root)
        fail("no root element");
    if (!open.empty())
        fail("element " + open.back()->name + " is not closed");
    return root;
}

/// Every element named `name` in the tree, in document order.
inline void find_elements(const Svg_element& from, const std::string& name,
                          std::vector<const Svg_element*>& found)
{
    if (from.name == name)
        found.push_back(&from);
    for (const auto& child : from.children)
        find_elements(*child, name, found);
}

inline std::vector<const Svg_element*> find_elements(const Svg_element& from,
                                                     const std::string& name)
{
    std::vector<const Svg_element*> found;
    find_elements(from, name, found);
    return found;
}

struct Svg_point {
    double x;
    double y;
};

/// The points of a polyline's "points" attribute, written as "x,y x,y ...".
inline std::vector<Svg_point> polyline_points(const Svg_element& polyline)
{
    std::vector<Svg_point> points;
    const std::string text = polyline.attribute("points");
    const char* next = text.c_str();
    while (*next) {
        char* end = nullptr;
        const double x = std::strtod(next, &end);
        if (end == next || *end != ',')
            throw std::runtime_error("malformed points: " + text.substr(0, 40));
        next = end + 1;
        const double y = std::strtod(next, &end);
        if (end == next)
            throw std::runtime_error("malformed points: " + text.substr(0, 40));
        points.push_back({x, y});
        next = end;
        while (*next == ' ')
            ++next;
    }
    return points;
}

/// A vertical bar: its horizontal position and where it starts and ends.
struct Svg_bar {
    double x;
    double from_y;
    double to_y;
};

/// The bars of a path drawn as "Mx y0Vy1" for every bar.
inline std::vector<Svg_bar> path_bars(const Svg_element& path)
{
    std::vector<Svg_bar> bars;
    const std::string text = path.attribute("d");
    const char* next = text.c_str();
    while (*next) {
        char* end = nullptr;
        if (*next != 'M')
            throw std::runtime_error("M expected in " + text.substr(0, 40));
        const double x = std::strtod(next + 1, &end);
        const double from_y = std::strtod(end, &end);
        if (*end != 'V')
            throw std::runtime_error("V expected in " + text.substr(0, 40));
        const double to_y = std::strtod(end + 1, &end);
        bars.push_back({x, from_y, to_y});
        next = end;
    }
    return bars;
}

}  // namespace Vemo::testing
