#pragma once

#include <cstdint>
#include <string>

namespace Vemo {

/// What the start of a line of text holds.
enum class Line_content { number, blank, not_a_number, out_of_range };

/// Reads the number that begins `line` after optional white space, as the C
/// library's strtod does in the C locale; text after the number is ignored.
/// A magnitude too large for a double is out of range; one too small becomes
/// the nearest double.
Line_content read_leading_number(const std::string& line, double& value);

/// What is wrong with line `line_number` that holds `content` other than a
/// number: "line <n> does not hold a number." or "line <n> holds a number
/// that is out of range."
std::string line_problem(Line_content content, std::uint64_t line_number);

}  // namespace Vemo
