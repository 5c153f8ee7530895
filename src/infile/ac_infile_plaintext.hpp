#pragma once

#include "infile/ac_infile_text.hpp"

namespace Vemo {

/// Reads a text file of one number per line, a wave or a spectrum alike.
/// Lines of white space are skipped; any other line must begin with a number.
/// With a wave size, the values are a wavetable of waves of that size back
/// to back, as a table written as text holds them; a partial last wave is
/// ignored, and fewer than two whole waves are one wave, the whole file.
class Ac_infile_plaintext : public Ac_infile_text {
public:
    using Ac_infile_text::Ac_infile_text;

private:
    /// A wave size divides the file.
    bool waves_depend_on_values() const override { return given_wave_size != 0; }
    bool read_file_values() override;
};

}  // namespace Vemo
