#include "infile/ac_infile_text.hpp"

#include "system/memory_budget.hpp"

namespace Vemo {

Ac_infile_text::~Ac_infile_text() { close(); }

void Ac_infile_text::close() { close_stream(file_stream); }

bool Ac_infile_text::open()
{
    if (is_open)
        return true;
    if (!open_stream(file_stream))
        return false;
    // The values are read here only when the waves of the file depend on
    // them; otherwise a listing or a wrong output name is found before the
    // file is looked into, and `read` reads them.
    const bool accepted = (!waves_depend_on_values() || read_values_once()) && holds_selected_wave();
    if (!accepted)
        close();
    return accepted;
}

bool Ac_infile_text::read()
{
    if (!ready_to_read() || !read_values_once())
        return false;
    // The values of a file of one wave are all in `data` once it is read, and
    // are not held twice.
    const bool one_wave = wave_count() == 1;
    if (one_wave && data)
        return true;
    if (!store_data(std::span<const double>(values).subspan(wave_number * wave_length, wave_length)))
        return false;
    if (one_wave)
        std::vector<double>().swap(values);
    return true;
}

bool Ac_infile_text::read_values_once()
{
    if (values_read)
        return true;
    values_read = true;
    return read_file_values();
}

bool Ac_infile_text::read_values(std::uint64_t most, Blank_lines blank_lines,
                                 const std::string& problem_prefix)
{
    // Only the start of a line is kept, so memory grows with the values and
    // not with the length of the lines.
    while (values.size() < most) {
        if (!lines.next(true)) {
            if (file_stream.bad())
                return fail(file_name + " could not be read to the end.");
            break;
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
    wave_length = values.size();
    return true;
}

}  // namespace Vemo
