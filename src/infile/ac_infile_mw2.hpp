#pragma once

#include "formats/mw2_wave_dump.hpp"
#include "stage/ac_infile_base.hpp"

#include <cstdint>
#include <fstream>
#include <vector>

namespace Vemo {

/// Reads Microwave II/XT wave dump files. A file may hold any number of wave
/// dump messages among other SysEx data; each one is a wave, selected by its
/// position among them (counted from 0) and read as a full 128-sample cycle
/// of unscaled sample values. The file is read in pieces and only its wave
/// dumps are kept, so memory follows the number of dumps, not the file's size.
class Ac_infile_mw2 : public Ac_infile_base {
public:
    using Ac_infile_base::Ac_infile_base;
    ~Ac_infile_mw2() override;

    void close() override;
    /// Reads the file and keeps its wave dump messages; refuses a file that
    /// holds none, or not the selected one.
    bool open() override;
    /// Decodes the selected message into 128 values.
    bool read() override;
    /// "<position> USER#<n>", "<position> ROM#<n>" or "<position> illegal#<n>".
    std::string wave_name(std::uint64_t position) override;

    std::ifstream file_stream;
    /// The wave dump messages of the file, in file order. A message that
    /// the file ends after its last sample byte lacks its check byte and F7
    /// here too: they are zero.
    std::vector<Mw2_message> dumps;

private:
    /// Reads the open file in pieces and keeps every wave dump message;
    /// false when the file cannot be read to its end or the dumps do not
    /// fit in memory, with the message.
    bool find_dumps();
    /// Keeps the message at `position` of `bytes`, the first of `size`.
    bool keep_dump(const std::uint8_t* bytes, std::size_t size, std::size_t position);
};

}  // namespace Vemo
