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

    std::uint64_t wave_count() override;
    /// "<position> frame#<position + 1>" for a wave of a table, "Default"
    /// for a file of one wave.
    std::string wave_name(std::uint64_t position) override;
    bool select_wave_size(std::uint64_t samples) override;

private:
    /// A wave size divides the file.
    bool waves_depend_on_values() const override { return given_wave_size != 0; }
    bool read_file_values() override;

    /// From the command line; 0 when the file is one wave.
    std::uint64_t given_wave_size = 0;
    std::uint64_t waves = 1;
};

}  // namespace Vemo
