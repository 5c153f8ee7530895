#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Vemo {

/// What the start of a line of text holds.
enum class Line_content { number, blank, not_a_number, out_of_range };

/// The most characters a number may be written with.
inline constexpr std::size_t longest_number = 4096;

/// How much of a line the text readers keep: one character more than the
/// longest number, so that a longer one shows.
inline constexpr std::size_t kept_line_start = longest_number + 1;

/// Reads the number that begins `start` after optional white space, as the C
/// library's strtod does in the C locale; text after the number is ignored.
/// A magnitude too large for a double is out of range; one too small becomes
/// the nearest double. A number written with more than `longest_number`
/// characters does not count as one. `start` is what was kept of a line, with
/// a NUL after it in memory; `cut` tells that the line went on beyond it, so
/// a number that could go on after `start` is longer than `longest_number`
/// characters when `start` is `kept_line_start` long.
Line_content read_leading_number(std::string_view start, bool cut, double& value);

/// What is wrong with line `line_number` that holds `content` other than a
/// number: "line <n> does not hold a number." or "line <n> holds a number
/// that is out of range."
std::string line_problem(Line_content content, std::uint64_t line_number);

}  // namespace Vemo
