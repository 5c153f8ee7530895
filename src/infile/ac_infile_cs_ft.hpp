#pragma once

#include "infile/ac_infile_text.hpp"

#include <string_view>

namespace Vemo {

/// Reads a function table that Csound's ftsave or ftsavek opcode wrote in text
/// mode: a header that gives the table length in frames, then one value per
/// line. Only the first table of the file is read, without its guard point,
/// as one wave; tables of more than one channel are refused.
class Ac_infile_cs_ft : public Ac_infile_text {
public:
    using Ac_infile_text::Ac_infile_text;

private:
    /// A wave other than the first is refused, with the reason the file
    /// gives: another table that follows, or none.
    bool waves_depend_on_values() const override { return wave_number >= 1; }
    bool read_file_values() override;
    /// Whether another table follows the one read.
    bool holds_another_table();
    /// Reads the start of the next header line without its line end. False
    /// at the end of the file.
    bool next_header_line(std::string_view& line);
    /// Reads the header up to its end line and takes the table length from it.
    bool read_header(std::uint64_t& table_length);
};

}  // namespace Vemo
