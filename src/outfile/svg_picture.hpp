#pragma once

#include <cstdint>
#include <string>

namespace Vemo {

/// One cycle as a continuous line over its zero line and its grid lines at
/// the largest absolute value, sample index along the axis, under `caption`.
std::string draw_wave(const double* samples, std::uint64_t count, const std::string& caption);

/// One bar per harmonic, negative amplitudes below the zero line, harmonic
/// numbers along the axis, under `caption`.
std::string draw_spectrum(const double* amplitudes, std::uint64_t count,
                          const std::string& caption);

/// The `waves` cycles of `size` samples each that `samples` holds one after
/// another, one above another: each further back a step up and to the right,
/// the first in front and on top, on one scale, the table's largest absolute
/// value. A table of one wave is drawn as draw_wave draws it.
std::string draw_wave_table(const double* samples, std::uint64_t waves, std::uint64_t size,
                            const std::string& caption);

/// The `waves` spectra of `size` harmonics each that `amplitudes` holds one
/// after another, stacked as draw_wave_table stacks waves. A table of one
/// spectrum is drawn as draw_spectrum draws it.
std::string draw_spectrum_table(const double* amplitudes, std::uint64_t waves,
                                std::uint64_t size, const std::string& caption);

/// The most bytes that the picture of a table of `waves` waves or spectra of
/// `size` values each takes.
std::uint64_t table_picture_bytes(std::uint64_t waves, std::uint64_t size);

}  // namespace Vemo
