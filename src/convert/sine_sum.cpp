#include "convert/sine_sum.hpp"

#include "stage/value_array.hpp"
#include "system/memory_budget.hpp"
#include "system/parallel_work.hpp"

#include <algorithm>
#include <cmath>

namespace Vemo {

namespace {

/// Below this many sine evaluations per thread, starting a thread costs more
/// than it saves.
constexpr std::uint64_t sines_per_thread = 16384;

/// Samples are handed out in blocks of this many, so that a thread that got
/// more of a core than another also does more of the work.
constexpr std::uint64_t block_size = 64;

}  // namespace

Sine_sum::Sine_sum(const double* amplitudes, std::uint64_t count, double threshold,
                   std::uint64_t size, double sample_offset)
    : cycle_size(size), offset(sample_offset)
{
    // The threshold acts on the amplitudes as given. Those that pass are
    // scaled by a power of two that brings the largest (which passes if any
    // does) to between 1 and 2: no sum can then overflow, and the scale changes
    // no bit of the normalised cycle unless an amplitude, term or sum falls
    // below the smallest normal double at one of the two scales.
    // A harmonic of amplitude 0 would add a signed zero to a sum that is never
    // -0, which changes no bit, so leaving it out is the same sum.
    const int scale = -peak_exponent(amplitudes, count);
    scale_exponent = scale;
    const auto sounds = [threshold](double amplitude) { return std::fabs(amplitude) > threshold; };
    sounding.reserve(static_cast<std::size_t>(std::count_if(amplitudes, amplitudes + count, sounds)));
    double amplitude_sum = 0.0;
    for (std::uint64_t k = 0; k < count; ++k)
        if (sounds(amplitudes[k])) {
            sounding.push_back({static_cast<double>(k + 1), std::ldexp(amplitudes[k], scale)});
            amplitude_sum = amplitude_sum + std::fabs(sounding.back().amplitude);
        }
    if (sounding.empty())
        return;

    // How far a computed sample s can lie from the true sum of
    // a sin(2pi h (j + offset) / N), with u = 2^-53, H the highest harmonic
    // that sounds and A the sum of the absolute amplitudes that sound:
    // - j + offset is exact and the constant 2pi is within 0.4u of 2pi,
    //   relatively. The three steps of x round once each (multiplying by the
    //   exact reciprocal of a power of two rounds like dividing), so x lies
    //   within 3.4u |X| of the true argument X, and |X| < 2pi H since
    //   j + offset < N: |x - X| < 22u H.
    // - sin(x) lies within one unit in the last place, at most u, of the sine
    //   of x, and |sin x - sin X| <= |x - X|.
    // - The product with a rounds once more: within u |a|.
    // So every term lies within (22H + 2) u |a| of a sin X, and adding the
    // K <= H terms one after the other errs by at most (K - 1) u A more:
    // |s - true sum| < (23H + 1) u A <= 24 u A H. The bound 32 u A H leaves
    // room for the rounding of A itself and of amplitudes or products that
    // fall below the smallest normal double. Harmonics that fall on zeros of
    // the sine at every sample, or pairs h and N - h of equal amplitude,
    // have a true sum of 0 and so always stay within it.
    const double highest = sounding.back().number;
    rounding_bound = std::ldexp(amplitude_sum * highest, -48);
}

std::uint64_t Sine_sum::memory_needed(std::uint64_t count)
{
    return bytes_for(count, sizeof(Harmonic));
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
    // it. An offset of 0 adds nothing to j. The wave dump's half-sample
    // offset and N of 128 give its formula sin(h * ((i + 0.5) * 2pi) * (1/128))
    // * a operation for operation: a product of two doubles does not depend
    // on their order, and 1/128 is the reciprocal used for a power of two.
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
    normalise_to_peak(wave, count, rounding_bound);
}

unsigned threads_for_synthesis(std::uint64_t sines)
{
    return threads_for(sines, sines_per_thread);
}

void sum_sines(std::span<const Sine_sum> sums, double* table, std::uint64_t size,
               unsigned threads)
{
    // Block b of every wave is one task; a sample is summed by one thread.
    const std::uint64_t blocks_per_wave = (size + block_size - 1) / block_size;
    run_in_parallel(blocks_per_wave * sums.size(), threads, [&](std::uint64_t task) {
        const std::uint64_t wave = task / blocks_per_wave;
        const std::uint64_t first = task % blocks_per_wave * block_size;
        sums[wave].sum(table + wave * size, first, std::min(size, first + block_size));
    });
}

std::uint64_t synthesis_thread_memory(std::uint64_t sines)
{
    return helping_thread_memory(threads_for_synthesis(sines));
}

}  // namespace Vemo
