#include "infile/ac_infile_cs_ft.hpp"

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace Vemo {

namespace {

constexpr std::string_view table_start = "======= TABLE ";
constexpr std::string_view length_key = "flenfrms:";
constexpr std::string_view channels_key = "nchnls:";
constexpr std::string_view header_end = "---------END OF HEADER--------------";

/// Reads a table length: a non-negative whole number in decimal, with white
/// space around it. A minus sign, a fraction, other text or a number
/// beyond 64 bits makes it invalid.
bool read_table_length(std::string_view text, std::uint64_t& length)
{
    std::size_t at = 0;
    while (at < text.size() && is_blank(text[at]))
        ++at;
    if (at < text.size() && text[at] == '+')
        ++at;
    const std::size_t digits_start = at;
    std::uint64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const unsigned digit = static_cast<unsigned>(text[at] - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    if (at == digits_start)
        return false;
    for (; at < text.size(); ++at)
        if (!is_blank(text[at]))
            return false;
    length = value;
    return true;
}

/// Reads a channel count as strtol does in base 10 (leading white space, a
/// sign, trailing text ignored); a number outside 32 bits, or none at all,
/// gives a count that is not 1.
long read_channel_count(const char* text)
{
    errno = 0;
    const long count = std::strtol(text, nullptr, 10);
    if (errno == ERANGE || count < INT32_MIN || count > INT32_MAX)
        return 0;
    return count;
}

}  // namespace

bool Ac_infile_cs_ft::next_header_line(std::string_view& line)
{
    if (!lines.next(false))
        return false;
    ++line_number;
    line = lines.start();
    return true;
}

bool Ac_infile_cs_ft::read_header(std::uint64_t& table_length)
{
    std::string_view line;
    if (!next_header_line(line) || !line.starts_with(table_start))
        return fail(file_name + " is not a Csound ftsave/ftsavek file.");

    // The header is read to its end line even after a channel count was
    // refused; the message of that first failure is the one kept. The end
    // line must itself be ended by a line end. Of several length lines the
    // last one counts. A length line too long to be kept whole is not valid.
    table_length = 0;
    while (!lines.ended_by_end_of_file() && line != header_end) {
        if (!next_header_line(line))
            break;
        if (line.starts_with(length_key)) {
            if (lines.cut() || !read_table_length(line.substr(length_key.size()), table_length))
                return fail(file_name + " is corrupt, the table length is not valid.");
        } else if (line.starts_with(channels_key)) {
            // The missing blank in "ftablecontains" is the message's own, kept
            // word for word.
            if (read_channel_count(line.data() + channels_key.size()) != 1)
                fail(file_name + "contains more than one channel.");
        }
    }
    if (file_stream.bad())
        return fail(file_name + " could not be read to the end.");
    if (lines.ended_by_end_of_file())
        return fail(file_name + " is corrupt, the header does not end.");
    return ok;
}

bool Ac_infile_cs_ft::read_file_values()
{
    std::uint64_t table_length = 0;
    if (!read_header(table_length))
        return false;

    // The length comes from the file: nothing is set aside for it in
    // advance, so a table that claims more values than it holds fails when
    // its lines run out, not when memory does. Every slot has its line: a
    // blank one holds no number either.
    if (!read_values(table_length, Blank_lines::refused, file_name + " is corrupt, "))
        return false;
    if (values.size() < table_length)
        return fail(file_name + " is corrupt, there are not enough values.");
    // The guard point after the last value, and the tables after it, are
    // read only to refuse a wave number that would pick one of them.
    if (wave_number >= 1 && holds_another_table())
        return fail(file_name + " holds several tables; only the first is read.");
    return true;
}

bool Ac_infile_cs_ft::holds_another_table()
{
    while (lines.next(false))
        if (lines.start().starts_with(table_start))
            return true;
    return false;
}

}  // namespace Vemo
