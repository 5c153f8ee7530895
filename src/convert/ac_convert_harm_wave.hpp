#pragma once

#include "stage/ac_convert_base.hpp"
#include "convert/sine_sum.hpp"

#include <cstdint>

namespace Vemo {

/// Synthesises one wave cycle from harmonic amplitudes as a sum of sines in
/// phase zero, normalised to a peak of 1. Harmonics whose amplitude is not
/// above the threshold are left out; a sum that holds nothing but rounding
/// error gives a silent cycle.
class Ac_convert_harm_wave : public Ac_convert_base {
public:
    using Ac_convert_base::Ac_convert_base;

    bool convert() override;
    std::uint64_t memory_needed(std::uint64_t input_count) const override;
};

/// Fills `wave[0 .. size)` with the unnormalised samples of `sines`, sharing
/// them among up to `threads` threads. Every sample is summed by one thread in
/// the same order, so the result does not depend on the number of threads,
/// bit for bit.
void sum_sines(const Sine_sum& sines, double* wave, std::uint64_t size, unsigned threads);

/// How many threads pay for a synthesis of `sines` sine evaluations: one for a
/// small one, at most as many as the cores this process may run on.
unsigned threads_for_synthesis(std::uint64_t sines);

}  // namespace Vemo
