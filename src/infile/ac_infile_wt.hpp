#pragma once

#include "formats/wt_table.hpp"
#include "stage/ac_infile_base.hpp"

#include <cstdint>
#include <fstream>

namespace Vemo {

/// Reads the wavetables of Surge XT and Bitwig Studio (.wt, see wt_table.hpp).
/// The header gives the size and number of the waves, so -S means nothing
/// here; the file is always a table, however many waves it holds, and only
/// the selected wave is read from it. The flags that mark a sample or a
/// text block do not matter: the waves are read all the same.
class Ac_infile_wt : public Ac_infile_base {
public:
    using Ac_infile_base::Ac_infile_base;
    ~Ac_infile_wt() override;

    void close() override;
    /// Reads the header and refuses the file unless its magic is right, it
    /// holds at least one wave of 1 to 65536 samples, all the samples the
    /// header promises are there, and so is the selected wave.
    bool open() override;
    /// Reads the samples of the selected wave, and only those.
    bool read() override;
    /// The number of waves the header gives (0 before `open`).
    std::uint64_t wave_count() override;
    /// "<position> frame#<position + 1>", for a file of one wave too.
    std::string wave_name(std::uint64_t position) override;

private:
    /// Checks the header and the length of the open file.
    bool check_header();
    /// The message for a file that holds fewer samples than its header says.
    std::string cut_short() const;

    std::ifstream file_stream;
    Wt_header header;
    Wt_coding coding = Wt_coding::float32;
};

}  // namespace Vemo
