#include "infile/ac_infile_plaintext.hpp"

#include "system/memory_budget.hpp"
#include "infile/line_reader.hpp"
#include "infile/text_number.hpp"

#include <vector>

namespace Vemo {

Ac_infile_plaintext::Ac_infile_plaintext(const std::string& name) : Ac_infile_base(name) {}

Ac_infile_plaintext::Ac_infile_plaintext(const char* name) : Ac_infile_base(name) {}

Ac_infile_plaintext::~Ac_infile_plaintext() { close(); }

void Ac_infile_plaintext::close() { close_stream(file_stream); }

bool Ac_infile_plaintext::open() { return open_stream(file_stream); }

bool Ac_infile_plaintext::read()
{
    if (!ready_to_read())
        return false;
    // Only the start of a line is kept, so memory grows with the values and
    // not with the length of the lines.
    std::vector<double> values;
    Line_reader lines(file_stream, kept_line_start);
    for (std::uint64_t line_number = 1; lines.next(true); ++line_number) {
        double value = 0.0;
        const Line_content content = read_leading_number(lines.start(), lines.cut(), value);
        if (content == Line_content::blank)
            continue;
        if (content != Line_content::number)
            return fail(file_name + ": " + line_problem(content, line_number));
        if (!room_for_another_value(values))
            return fail(not_enough_memory);
        values.push_back(value);
    }
    if (file_stream.bad())
        return fail(file_name + " could not be read to the end.");
    return store_data(values);
}

}  // namespace Vemo
