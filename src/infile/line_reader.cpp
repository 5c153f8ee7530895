#include "infile/line_reader.hpp"

#include <limits>

namespace Vemo {

Line_reader::Line_reader(std::istream& input, std::size_t limit)
    : stream(input), buffer(limit + 1, '\0')
{
}

bool Line_reader::next(bool skip_blanks)
{
    length = 0;
    was_cut = false;
    line_feed = false;
    bool skipped = false;
    // The line feed is no blank to skip here: it ends the line.
    while (skip_blanks && stream.peek() != '\n' && is_blank(static_cast<char>(stream.peek()))) {
        stream.get();
        skipped = true;
    }

    // getline keeps at most `limit` characters and ends them with a NUL. It
    // fails when it took nothing at the end of the file, or when the line
    // goes on beyond the limit; it sets end of file when the file ended the
    // line, and otherwise has taken the line feed too.
    stream.getline(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto taken = static_cast<std::size_t>(stream.gcount());
    if (stream.bad() || (taken == 0 && !skipped && stream.eof()))
        return false;
    if (stream.eof()) {
        length = taken;
    } else if (!stream.fail()) {
        length = taken - 1;
        line_feed = true;
    } else {
        length = taken;
        was_cut = true;
        stream.clear();
        stream.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        if (stream.bad())
            return false;
        line_feed = !stream.eof();
    }
    return true;
}

}  // namespace Vemo
