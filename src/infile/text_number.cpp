#include "infile/text_number.hpp"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace Vemo {

namespace {

bool is_blank(const std::string& line)
{
    return std::all_of(line.begin(), line.end(), [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
    });
}

}  // namespace

Line_content read_leading_number(const std::string& line, double& value)
{
    if (is_blank(line))
        return Line_content::blank;
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

}  // namespace Vemo
