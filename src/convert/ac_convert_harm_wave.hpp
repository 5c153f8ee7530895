#pragma once

#include "stage/ac_convert_base.hpp"
#include "convert/sine_sum.hpp"

namespace Vemo {

/// Synthesises wave cycles from harmonic amplitudes as sums of sines in
/// phase zero, normalised to a peak of 1 (the whole table, or each wave).
/// Harmonics whose amplitude is not above the threshold are left out; a sum
/// that holds nothing but rounding error gives a silent cycle.
class Ac_convert_harm_wave : public Ac_convert_base {
public:
    using Ac_convert_base::Ac_convert_base;

    bool convert() override;
    std::uint64_t memory_needed(std::span<const std::uint64_t> wave_sizes) const override;
};

}  // namespace Vemo
