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
/// the loop that takes one number from each line. Where the waves of a file
/// depend on its values, they are read when it is opened, so its waves are
/// known before anything is written.
class Ac_infile_text : public Ac_infile_base {
public:
    using Ac_infile_base::Ac_infile_base;
    ~Ac_infile_text() override;

    void close() override;
    /// Opens the file, reads its values where its waves depend on them, and
    /// checks that it holds the selected wave.
    bool open() override;
    /// Hands over the values of the selected wave.
    bool read() override;

protected:
    /// Whether what the file holds decides its waves, so that `open` reads it.
    virtual bool waves_depend_on_values() const = 0;
    /// Reads the values of the open file into `values`, or fails with the
    /// reason.
    virtual bool read_file_values() = 0;

    /// Whether a line of nothing but blanks is passed over or, where every
    /// line must hold a value, refused.
    enum class Blank_lines { skipped, refused };

    /// Reads one number from the start of each line into `values`, until the
    /// file ends or `most` values are read. A line that holds no number fails
    /// the reader with `problem_prefix` and what is wrong with the line
    /// ("line 3 does not hold a number."). False after a failure.
    bool read_values(std::uint64_t most, Blank_lines blank_lines,
                     const std::string& problem_prefix);

    /// Reads the values on the first call; the later ones find them read.
    bool read_values_once();

    std::ifstream file_stream;
    Line_reader lines{file_stream, kept_line_start};
    /// The number of the line read last, counted from 1.
    std::uint64_t line_number = 0;
    /// Every value of the file, in file order, once read.
    std::vector<double> values;
    bool values_read = false;
    /// The values of one wave: all of them, unless the file is divided.
    std::uint64_t wave_length = 0;
};

}  // namespace Vemo
