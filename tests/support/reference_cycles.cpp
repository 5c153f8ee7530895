#include "support/reference_cycles.hpp"

#include <algorithm>
#include <cmath>

namespace Vemo::testing {

std::vector<double> sine_cycle(std::size_t frames, const std::vector<double>& amplitudes)
{
    const double two_pi = 6.283185307179586;
    std::vector<double> cycle(frames, 0.0);
    double peak = 0.0;
    for (std::size_t j = 0; j < frames; ++j) {
        for (std::size_t k = 0; k < amplitudes.size(); ++k)
            cycle[j] += amplitudes[k] *
                        std::sin(two_pi * static_cast<double>((k + 1) * j % frames) /
                                 static_cast<double>(frames));
        peak = std::max(peak, std::fabs(cycle[j]));
    }
    if (peak > 0.0)
        for (double& value : cycle)
            value /= peak;
    return cycle;
}

std::vector<double> saw_amplitudes(std::size_t count)
{
    std::vector<double> amplitudes(count);
    for (std::size_t h = 1; h <= count; ++h)
        amplitudes[h - 1] = 1.0 / static_cast<double>(h);
    return amplitudes;
}

std::vector<long double> dft_magnitudes(const std::vector<double>& cycle, std::size_t count)
{
    const std::size_t n = cycle.size();
    const long double two_pi = 6.283185307179586476925286766559L;
    std::vector<long double> magnitudes(count);
    for (std::size_t h = 1; h <= count; ++h) {
        long double real = 0.0L;
        long double imaginary = 0.0L;
        for (std::size_t j = 0; j < n; ++j) {
            const long double angle = two_pi * static_cast<long double>(h * j % n) / n;
            real += cycle[j] * std::cos(angle);
            imaginary -= cycle[j] * std::sin(angle);
        }
        magnitudes[h - 1] = std::sqrt(real * real + imaginary * imaginary);
    }
    return magnitudes;
}

std::vector<double> dft_spectrum(const std::vector<double>& cycle, std::size_t count)
{
    const std::vector<long double> magnitudes = dft_magnitudes(cycle, count);
    const long double peak =
        magnitudes.empty() ? 0.0L : *std::max_element(magnitudes.begin(), magnitudes.end());
    std::vector<double> spectrum(count, 0.0);
    for (std::size_t h = 0; h < count && peak > 0.0L; ++h)
        spectrum[h] = static_cast<double>(magnitudes[h] / peak);
    return spectrum;
}

}  // namespace Vemo::testing
