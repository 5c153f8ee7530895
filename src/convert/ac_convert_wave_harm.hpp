#pragma once

#include "stage/ac_convert_base.hpp"

namespace Vemo {

/// Analyses one wave cycle by FFT into the relative amplitudes of its
/// harmonics, normalised to the strongest; weaker ones below the threshold
/// become 0. Phases and the constant term are dropped.
class Ac_convert_wave_harm : public Ac_convert_base {
public:
    using Ac_convert_base::Ac_convert_base;

    bool convert() override;
    std::uint64_t memory_needed(std::uint64_t input_count) const override;
};

}  // namespace Vemo
