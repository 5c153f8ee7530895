#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <string_view>

namespace Vemo {

/// White space as the C library sees it in the classic locale, whatever
/// locale is set: the text formats are the same everywhere.
inline bool is_blank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

/// Reads a text stream line by line, keeping no more of a line than its
/// start: the characters beyond the first `limit` are passed over unkept, so
/// memory does not grow with the length of a line. A line ends at a line
/// feed, at CR LF, or at a carriage return alone; the line end is not kept.
/// The stream is read in pieces of its own, ahead of the lines.
class Line_reader {
public:
    Line_reader(std::istream& stream, std::size_t limit);

    /// Reads the next line, after skipping the white space at its start when
    /// `skip_blanks` is set. False when the stream holds no further line.
    bool next(bool skip_blanks);
    /// The kept start of the line, without its line end; a NUL character
    /// follows it in memory, as the C library's number conversions expect.
    std::string_view start() const { return {buffer.data(), length}; }
    /// Whether the line went on beyond `start`.
    bool cut() const { return was_cut; }
    /// Whether the end of the file ended the line, rather than a line end.
    bool ended_by_end_of_file() const { return file_ended; }

private:
    /// The next character, or -1 at the end of the stream.
    int peek();

    std::istream& stream;
    std::string buffer;
    std::size_t length = 0;
    bool was_cut = false;
    bool file_ended = false;
    /// What is read from the stream and not yet taken: [piece_at, piece_end).
    std::string piece;
    std::size_t piece_at = 0;
    std::size_t piece_end = 0;
};

}  // namespace Vemo
