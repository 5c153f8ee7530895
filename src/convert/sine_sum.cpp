#include "convert/sine_sum.hpp"

#include "app/stages/value_array.hpp"

#include <cmath>

namespace Vemo {

Sine_sum::Sine_sum(const double* amplitudes, std::uint64_t count, double threshold,
                   std::uint64_t size, double sample_offset)
    : cycle_size(size), offset(sample_offset)
{
    // Only harmonics above the threshold sound; the others cost nothing. A
    // harmonic of amplitude 0 would add a signed zero to a sum that is never
    // -0, which changes no bit, so leaving it out is the same sum.
    for (std::uint64_t k = 0; k < count; ++k)
        if (std::fabs(amplitudes[k]) > threshold)
            sounding.push_back({static_cast<double>(k + 1), amplitudes[k]});
}

void Sine_sum::sum(double* wave, std::uint64_t first, std::uint64_t end) const
{
    if (cycle_size != 0 && (cycle_size & (cycle_size - 1)) == 0)
        sum_samples<true>(wave, first, end);
    else
        sum_samples<false>(wave, first, end);
}

/// For a size that is a power of two the division by it is a multiplication
/// by its reciprocal: both only change the exponent, so they give the same
/// double, and the multiplication is cheaper. Any other size is divided by.
template <bool power_of_two>
void Sine_sum::sum_samples(double* wave, std::uint64_t first, std::uint64_t end) const
{
    // The sum follows the formula literally, in this order of operations:
    // x = (j + offset) * 2pi * h / N, s = s + a * sin(x), harmonics in
    // increasing order. Results are compared bit for bit, so do not rearrange
    // it. An offset of 0 adds nothing to j; the wave dump's half-sample offset
    // and its N of 128 give its own formula sin(h * ((i + 0.5) * 2pi) / 128) * a
    // operation for operation, as products of two doubles do not depend on
    // their order.
    const double two_pi = 6.283185307179586;
    const double n = static_cast<double>(cycle_size);
    const double reciprocal = 1.0 / n;
    for (std::uint64_t j = first; j < end; ++j) {
        const double position = (static_cast<double>(j) + offset) * two_pi;
        double s = 0.0;
        for (const Harmonic& harmonic : sounding) {
            const double x = power_of_two ? position * harmonic.number * reciprocal
                                          : position * harmonic.number / n;
            s = s + harmonic.amplitude * std::sin(x);
        }
        wave[j] = s;
    }
}

void Sine_sum::normalise(double* wave, std::uint64_t count) const
{
    const double peak = peak_of(wave, count);
    if (peak == 0.0)
        return;
    for (std::uint64_t i = 0; i < count; ++i)
        wave[i] = wave[i] / peak;
}

}  // namespace Vemo
