#include "infile/line_reader.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace Vemo {
namespace {

/// Every line of `text`, as the line reader gives them, and whether the end
/// of the file ended the last.
std::pair<std::vector<std::string>, bool> lines_of(const std::string& text, bool skip_blanks)
{
    std::istringstream stream(text);
    Line_reader lines(stream, 8);
    std::vector<std::string> found;
    while (lines.next(skip_blanks))
        found.emplace_back(lines.start());
    return {found, lines.ended_by_end_of_file()};
}

TEST(Line_reader, EndsALineAtLfCrLfOrALoneCrWhereverThePiecesOfTheFileEnd)
{
    // A piece of the file is 65536 characters: put a line end across it.
    const std::string before_edge(65535, 'x');
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\nb\r\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\rb\n\n", {"a", "", "b", ""}},
        {"  a\r \tb", {"a", "b"}},
        // Only the start of a long line is kept.
        {"0123456789\nz", {"01234567", "z"}},
        {before_edge + "\r\nnext", {before_edge.substr(0, 8), "next"}},
        {before_edge.substr(1) + "a\r\nb", {before_edge.substr(0, 8), "b"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lines_of(c.text, true).first, c.lines) << c.text.substr(0, 12);
    // Blanks are kept where they are not skipped, and a CR ends a line there too.
    EXPECT_EQ(lines_of(" a\r b", false).first, (std::vector<std::string>{" a", " b"}));
}

}  // namespace
}  // namespace Vemo
