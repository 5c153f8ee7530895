#include "infile/text_number.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace Vemo {
namespace {

/// What strtod makes of the line, the way the reader has always taken it.
Line_content as_strtod_reads_it(const std::string& line, double& value)
{
    if (line.find_first_not_of(" \t\r\n\v\f") == std::string::npos)
        return Line_content::blank;
    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(line.c_str(), &end);
    if (end == line.c_str())
        return Line_content::not_a_number;
    if (errno == ERANGE && std::isinf(number))
        return Line_content::out_of_range;
    value = number;
    return Line_content::number;
}

TEST(Text_number, ReadsEveryLineAsStrtodDoesToTheLastBit)
{
    std::vector<std::string> lines = {
        "0.1", "-0", "1e23", "9007199254740993", "2.2250738585072011e-308", "5e-324",
        "2.4703282292062328e-324", "1e-400", "-1e-400", "1.7976931348623157e308", "1e999",
        "123456789012345678901234567890e-10", ".5", "1.", "1e", "1e5x", "0x1p-3", "+2", " 3",
        "1.5\r", "1.5 dB", "inf", "-infinity", "nan", "-", ".", "", " \t", "1,5",
    };
    // Random doubles as a program would print them, short and long.
    std::mt19937_64 bits(8);
    char text[64];
    for (int i = 0; i < 20000; ++i) {
        double number;
        const std::uint64_t pattern = bits();
        std::memcpy(&number, &pattern, sizeof number);
        if (!std::isfinite(number))
            continue;
        std::snprintf(text, sizeof text, i % 2 ? "%.*g" : "%.*e", 1 + i % 18, number);
        lines.push_back(text);
    }
    for (const std::string& line : lines) {
        double expected = -1.0;
        double value = -1.0;
        const Line_content expected_content = as_strtod_reads_it(line, expected);
        EXPECT_EQ(read_leading_number(line, false, value), expected_content) << line;
        EXPECT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << line;
    }
}

}  // namespace
}  // namespace Vemo
