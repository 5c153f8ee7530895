#pragma once

#include "stage/ac_convert_base.hpp"

namespace Vemo {

/// Analyses wave cycles by FFT into the relative amplitudes of their
/// harmonics, normalised to the strongest (of the whole table, or of each
/// wave); weaker ones below the threshold become 0. Phases and the constant
/// term are dropped.
class Ac_convert_wave_harm : public Ac_convert_base {
public:
    using Ac_convert_base::Ac_convert_base;

    bool convert() override;
    std::uint64_t memory_needed(std::span<const std::uint64_t> wave_sizes) const override;
};

}  // namespace Vemo
