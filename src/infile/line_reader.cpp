#include "infile/line_reader.hpp"

#include <algorithm>

namespace Vemo {

namespace {

/// The stream is read in pieces of this size.
constexpr std::size_t piece_size = 1 << 16;

bool ends_line(char c) { return c == '\n' || c == '\r'; }

}  // namespace

Line_reader::Line_reader(std::istream& input, std::size_t limit)
    : stream(input), buffer(limit + 1, '\0'), piece(piece_size, '\0')
{
}

int Line_reader::peek()
{
    if (piece_at == piece_end) {
        if (!stream.read(piece.data(), static_cast<std::streamsize>(piece.size())) &&
            stream.gcount() == 0)
            return -1;
        piece_at = 0;
        piece_end = static_cast<std::size_t>(stream.gcount());
    }
    return static_cast<unsigned char>(piece[piece_at]);
}

bool Line_reader::next(bool skip_blanks)
{
    length = 0;
    was_cut = false;
    file_ended = false;
    bool skipped = false;
    // A line end is no blank to skip: it ends the line, empty or not.
    for (int c = peek(); skip_blanks && c >= 0 && !ends_line(static_cast<char>(c)) &&
                         is_blank(static_cast<char>(c));
         c = peek()) {
        ++piece_at;
        skipped = true;
    }
    if (peek() < 0 && !skipped) {
        file_ended = true;
        return false;
    }

    // A line ends at LF, at CR LF, or at a CR alone, as older Mac editors
    // end lines. Characters beyond the limit are passed over unkept.
    const std::size_t limit = buffer.size() - 1;
    for (;;) {
        if (peek() < 0) {
            file_ended = true;
            break;
        }
        const auto first = piece.begin() + static_cast<std::ptrdiff_t>(piece_at);
        const auto last = piece.begin() + static_cast<std::ptrdiff_t>(piece_end);
        const auto end = std::find_if(first, last, ends_line);
        const auto taken = static_cast<std::size_t>(end - first);
        const std::size_t kept = std::min(taken, limit - length);
        std::copy(first, first + static_cast<std::ptrdiff_t>(kept), buffer.begin() + static_cast<std::ptrdiff_t>(length));
        length += kept;
        was_cut = was_cut || kept < taken;
        piece_at += taken;
        if (end != last) {
            ++piece_at;
            if (*end == '\r' && peek() == '\n')
                ++piece_at;
            break;
        }
    }
    buffer[length] = '\0';
    return true;
}

}  // namespace Vemo
