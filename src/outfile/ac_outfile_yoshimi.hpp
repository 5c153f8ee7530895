#pragma once

#include "stage/ac_outfile_base.hpp"

namespace Vemo {

/// Writes a spectrum as a Yoshimi command script: one line "s ha <n> a <v>"
/// for each of the first 128 harmonics whose amplitude is not rounded away,
/// where amplitudes -1 ... 0 ... 1 map to the values 1 ... 64 ... 127.
class Ac_outfile_yoshimi : public Ac_outfile_base {
public:
    using Ac_outfile_base::Ac_outfile_base;

    bool write() override;
    /// A script sets one oscillator's harmonics: it holds one wave.
    bool set_table(std::uint64_t waves, std::uint64_t wave_size) override;
};

}  // namespace Vemo
