#pragma once

// Cycles and spectra worked out here, independently of the program, as the
// values that tests compare its results with.

#include <cstddef>
#include <vector>

namespace Vemo::testing {

/// `frames` samples of one cycle that sums sines of the harmonics 1, 2, ...
/// with `amplitudes`, each in phase zero, scaled to a peak of 1 (silence
/// stays 0).
std::vector<double> sine_cycle(std::size_t frames, const std::vector<double>& amplitudes);

/// The amplitudes 1, 1/2, 1/3, ... of a band-limited saw of `count` harmonics.
std::vector<double> saw_amplitudes(std::size_t count);

/// The magnitudes of the harmonics 1 to `count` of `cycle` by the plain DFT
/// sum in long double.
std::vector<long double> dft_magnitudes(const std::vector<double>& cycle, std::size_t count);

/// The same, scaled to the strongest of them.
std::vector<double> dft_spectrum(const std::vector<double>& cycle, std::size_t count);

}  // namespace Vemo::testing
