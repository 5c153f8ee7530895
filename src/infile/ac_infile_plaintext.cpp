#include "infile/ac_infile_plaintext.hpp"

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
    std::vector<double> values;
    std::string line;
    for (std::uint64_t line_number = 1; std::getline(file_stream, line); ++line_number) {
        double value = 0.0;
        const Line_content content = read_leading_number(line, value);
        if (content == Line_content::number)
            values.push_back(value);
        else if (content != Line_content::blank)
            return fail(file_name + ": " + line_problem(content, line_number));
    }
    if (file_stream.bad())
        return fail(file_name + " could not be read to the end.");
    return store_data(values);
}

}  // namespace Vemo
