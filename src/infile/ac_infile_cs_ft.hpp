#pragma once

#include "infile/ac_infile_text.hpp"

#include <string_view>

namespace Vemo {

/// Reads a function table that Csound's ftsave or ftsavek opcode wrote in text
/// mode: a header that gives the table length in frames, then one value per
/// line. Only the first table of the file is read, without its guard point;
/// tables of more than one channel are refused.
class Ac_infile_cs_ft : public Ac_infile_text {
public:
    using Ac_infile_text::Ac_infile_text;

    bool read() override;

private:
    /// Reads the start of the next header line without its line end. False
    /// at the end of the file.
    bool next_header_line(std::string_view& line);
    /// Reads the header up to its end line and takes the table length from it.
    bool read_header(std::uint64_t& table_length);
};

}  // namespace Vemo
