#include "infile/ac_infile_text.hpp"

#include "system/memory_budget.hpp"

namespace Vemo {

Ac_infile_text::~Ac_infile_text() { close(); }

void Ac_infile_text::close() { close_stream(file_stream); }

bool Ac_infile_text::open() { return open_stream(file_stream); }

bool Ac_infile_text::read_values(std::uint64_t most, Blank_lines blank_lines,
                                 const std::string& problem_prefix, std::vector<double>& values)
{
    // Only the start of a line is kept, so memory grows with the values and
    // not with the length of the lines.
    while (values.size() < most) {
        if (!lines.next(true)) {
            if (file_stream.bad())
                return fail(file_name + " could not be read to the end.");
            return true;
        }
        ++line_number;
        double value = 0.0;
        const Line_content content = read_leading_number(lines.start(), lines.cut(), value);
        if (content == Line_content::blank && blank_lines == Blank_lines::skipped)
            continue;
        if (content != Line_content::number)
            return fail(problem_prefix + line_problem(content, line_number));
        if (!room_for_another_value(values))
            return fail(not_enough_memory);
        values.push_back(value);
    }
    return true;
}

}  // namespace Vemo
