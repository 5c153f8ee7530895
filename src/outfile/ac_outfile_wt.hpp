#pragma once

#include "stage/ac_outfile_base.hpp"

namespace Vemo {

/// Writes waves as a wavetable of Surge XT and Bitwig Studio (.wt, see
/// wt_table.hpp): the header, then every wave in full-range 16-bit samples,
/// the same levels that 16-bit WAV output stores for the same values. A
/// single wave is a table of one. No text block is written.
class Ac_outfile_wt : public Ac_outfile_base {
public:
    using Ac_outfile_base::Ac_outfile_base;

    /// Refuses, before the file exists, a table that the synths would not
    /// load: other than 1 to 512 waves of 2 to 4096 samples, a power of two.
    bool set_table(std::uint64_t waves, std::uint64_t wave_size) override;
    /// Writes the header and all waves of `data`; refuses a table of the
    /// wrong shape and a value that is not a finite number.
    bool write() override;

private:
    /// Fails with the message that names the shapes a file may hold.
    bool refuse_shape();
};

}  // namespace Vemo
