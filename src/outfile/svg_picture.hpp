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

}  // namespace Vemo
