#pragma once

#include "stage/ac_outfile_base.hpp"

namespace Vemo {

/// Draws the values as a self-contained SVG 1.1 picture with the fixed
/// viewBox 0 0 800 400: a wave as one continuous line over its zero line and
/// its ±1 grid lines, with the sample index along the axis; a spectrum as one
/// bar per harmonic, negative amplitudes below the zero line, with harmonic
/// numbers along the axis. The vertical scale comes from the largest absolute
/// value, so every picture uses its height. A table is one picture of its
/// waves one above another, the first in front, on the scale of the whole
/// table. A caption names the type and the number of values, for a table
/// also the number of waves. The document holds no script and refers to
/// nothing outside itself.
class Ac_outfile_svg : public Ac_outfile_base {
public:
    /// `output_type` says what the values are: "harm" draws a spectrum,
    /// "wave" a wave. The front end refuses every other type before a run.
    Ac_outfile_svg(const std::string& file_name, const std::string& output_type);
    Ac_outfile_svg(const char* file_name, const std::string& output_type);

    bool write() override;
    std::uint64_t memory_needed(std::uint64_t count) const override;

    /// True when the values are harmonic amplitudes, false for wave samples.
    const bool draws_spectrum;
};

}  // namespace Vemo
