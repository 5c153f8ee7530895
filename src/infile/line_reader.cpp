#include "infile/line_reader.hpp"

namespace Vemo {

Line_reader::Line_reader(std::istream& input, std::size_t limit)
    : stream(input), buffer(limit + 1, '\0')
{
}

bool Line_reader::next(bool skip_blanks)
{
    length = 0;
    was_cut = false;
    std::streambuf& file = *stream.rdbuf();
    const auto at_end = [&] {
        stream.setstate(std::ios::eofbit);
        buffer[length] = '\0';
    };

    int c = file.sgetc();
    bool skipped = false;
    // A line end is no blank to skip: it ends the line, empty or not.
    while (skip_blanks && c != '\n' && c != '\r' && c != EOF && is_blank(static_cast<char>(c))) {
        c = file.snextc();
        skipped = true;
    }
    if (c == EOF && !skipped) {
        at_end();
        return false;
    }
    // A line ends at LF, at CR LF, or at a CR alone, as older Mac editors
    // end lines. Characters beyond the limit are passed over unkept.
    for (;; c = file.snextc()) {
        if (c == EOF) {
            at_end();
            return true;
        }
        if (c == '\n' || c == '\r')
            break;
        if (length < buffer.size() - 1)
            buffer[length++] = static_cast<char>(c);
        else
            was_cut = true;
    }
    if (file.sbumpc() == '\r' && file.sgetc() == '\n')
        file.sbumpc();
    buffer[length] = '\0';
    return true;
}

}  // namespace Vemo
