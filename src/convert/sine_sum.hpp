#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace Vemo {

/// One cycle as a sum of sines in phase zero, the harmonics in increasing
/// order. The spectrum-to-wave converter and the wave dump writer both
/// synthesise through it, so the same sample of the same spectrum is the same
/// double in both. The level of the spectrum is normalised away: the
/// harmonics are summed at a scale brought near 1 by a power of two, so any
/// finite amplitudes give a finite sum, and spectra that differ by a power of
/// two give the same cycle.
class Sine_sum {
public:
    /// The harmonics of `amplitudes[0 .. count)` (the fundamental first) whose
    /// absolute amplitude is above `threshold`, in a cycle of `cycle_size`
    /// samples whose sample j lies at (j + `offset`) / `cycle_size` of it.
    Sine_sum(const double* amplitudes, std::uint64_t count, double threshold,
             std::uint64_t cycle_size, double offset);

    /// The most bytes that the harmonics of `count` amplitudes take while
    /// they are listed: one entry for each that sounds.
    static std::uint64_t memory_needed(std::uint64_t count);

    /// How many harmonics take part: each costs one sine per sample.
    std::uint64_t sounding_count() const { return sounding.size(); }

    /// Sums the samples [first, end) of the cycle into `wave[first .. end)`,
    /// at the scale of the harmonics. Each sample depends on nothing but its
    /// own index.
    void sum(double* wave, std::uint64_t first, std::uint64_t end) const;

    /// The power of two the harmonics are summed at: the samples are the
    /// true sums times 2 to this.
    int scale() const { return scale_exponent; }

    /// The most by which a computed sample can miss the true sum: a cycle
    /// whose largest sample is no larger holds nothing but that error.
    double noise() const { return rounding_bound; }

    /// Divides `wave[0 .. count)` by its largest absolute sample, so that
    /// sample becomes exactly +1 or -1. A cycle whose largest sample is no
    /// larger than the rounding error its sum may carry holds nothing but that
    /// error and becomes silent, all zeros.
    void normalise(double* wave, std::uint64_t count) const;

private:
    /// A harmonic that sounds: its number, already as a double, and its
    /// amplitude.
    struct Harmonic {
        double number;
        double amplitude;
    };

    template <bool power_of_two>
    void sum_samples(double* wave, std::uint64_t first, std::uint64_t end) const;

    std::vector<Harmonic> sounding;
    std::uint64_t cycle_size;
    double offset;
    int scale_exponent = 0;
    /// The most by which a computed sample can miss the true sum.
    double rounding_bound = 0.0;
};

/// Fills wave k of `table`, `size` samples from `table + k * size` on, with
/// the unnormalised samples of `sums[k]`, sharing them among up to `threads`
/// threads. Every sample is summed by one thread in the same order, so the
/// result does not depend on the number of threads, bit for bit.
void sum_sines(std::span<const Sine_sum> sums, double* table, std::uint64_t size,
               unsigned threads);

/// How many threads pay for a synthesis of `sines` sine evaluations: one for a
/// small one, at most as many as the cores this process may run on.
unsigned threads_for_synthesis(std::uint64_t sines);

/// The address space that the threads of a synthesis of `sines` sine
/// evaluations take beyond the program's own: their stacks.
std::uint64_t synthesis_thread_memory(std::uint64_t sines);

}  // namespace Vemo
