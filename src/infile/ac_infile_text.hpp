#pragma once

#include "infile/line_reader.hpp"
#include "infile/text_number.hpp"
#include "stage/ac_infile_base.hpp"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace Vemo {

/// What the readers of text files share: the file, read line by line, and
/// the loop that takes one number from each line.
class Ac_infile_text : public Ac_infile_base {
public:
    using Ac_infile_base::Ac_infile_base;
    ~Ac_infile_text() override;

    void close() override;
    bool open() override;

protected:
    /// Whether a line of nothing but blanks is passed over or, where every
    /// line must hold a value, refused.
    enum class Blank_lines { skipped, refused };

    /// Reads one number from the start of each line into `values`, until the
    /// file ends or `most` values are read. A line that holds no number fails
    /// the reader with `problem_prefix` and what is wrong with the line
    /// ("line 3 does not hold a number."). False after a failure.
    bool read_values(std::uint64_t most, Blank_lines blank_lines,
                     const std::string& problem_prefix, std::vector<double>& values);

    std::ifstream file_stream;
    Line_reader lines{file_stream, kept_line_start};
    /// The number of the line read last, counted from 1.
    std::uint64_t line_number = 0;
};

}  // namespace Vemo
