#include "infile/text_number.hpp"

#include "infile/line_reader.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace Vemo {

namespace {

bool all_blank(std::string_view line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return is_blank(c); });
}

bool is_name_character(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

/// Whether `rest`, all that is left of a cut line's start after `number`,
/// could go on into a longer number: an exponent still without its digits,
/// or the characters of a NaN that are not yet closed.
bool number_could_go_on(std::string_view number, std::string_view rest)
{
    if (rest.empty())
        return false;
    if (rest[0] == '(')
        return std::all_of(rest.begin() + 1, rest.end(), is_name_character);
    const std::string_view digits = number.substr(number.find_first_not_of("+-"));
    const bool hexadecimal = digits.size() > 1 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    const char exponent = hexadecimal ? 'p' : 'e';
    if (std::tolower(static_cast<unsigned char>(rest[0])) != exponent)
        return false;
    return rest.size() == 1 || (rest.size() == 2 && (rest[1] == '+' || rest[1] == '-'));
}

}  // namespace

Line_content read_leading_number(std::string_view line, bool cut, double& value)
{
    if (all_blank(line))
        return Line_content::blank;

    // Most lines hold a plain decimal number and nothing else. from_chars
    // reads those several times faster than strtod and rounds as correctly,
    // so the value is the same to the last bit. Everything else (white space
    // or a plus sign in front, hexadecimal, infinity and NaN, text after the
    // number, a magnitude out of range, a cut line) is left to strtod.
    const char* const first = line.data();
    const char* const last = first + line.size();
    double plain = 0.0;
    const auto [after, error] = std::from_chars(first, last, plain);
    if (!cut && error == std::errc() && std::isfinite(plain) &&
        static_cast<std::size_t>(after - first) <= longest_number &&
        all_blank(std::string_view(after, static_cast<std::size_t>(last - after)))) {
        value = plain;
        return Line_content::number;
    }

    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(first, &end);
    if (end == first)
        return Line_content::not_a_number;
    const auto taken = static_cast<std::size_t>(end - first);
    if (taken > longest_number ||
        (cut && number_could_go_on(line.substr(0, taken), line.substr(taken))))
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
