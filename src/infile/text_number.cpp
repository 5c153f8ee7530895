#include "infile/text_number.hpp"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace Vemo {

namespace {

bool is_blank_character(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool is_blank(const std::string& line)
{
    return std::all_of(line.begin(), line.end(), is_blank_character);
}

}  // namespace

Line_content read_leading_number(const std::string& line, double& value)
{
    if (is_blank(line))
        return Line_content::blank;

    // Most lines hold a plain decimal number and nothing else. from_chars
    // reads those several times faster than strtod and rounds as correctly,
    // so the value is the same to the last bit. Everything else (white space
    // or a plus sign in front, hexadecimal, infinity and NaN, text after the
    // number, a magnitude out of range) is left to strtod.
    const char* const first = line.data();
    const char* const last = first + line.size();
    double plain = 0.0;
    const auto [after, error] = std::from_chars(first, last, plain);
    if (error == std::errc() && std::isfinite(plain) && std::all_of(after, last, is_blank_character)) {
        value = plain;
        return Line_content::number;
    }

    const char* start = line.c_str();
    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(start, &end);
    if (end == start)
        return Line_content::not_a_number;
    if (errno == ERANGE && std::isinf(number))
        return Line_content::out_of_range;
    value = number;
    return Line_content::number;
}

std::string line_problem(Line_content content, std::uint64_t line_number)
{
    const std::string line = "line " + std::to_string(line_number);
    if (content == Line_content::out_of_range)
        return line + " holds a number that is out of range.";
    return line + " does not hold a number.";
}

}  // namespace Vemo
