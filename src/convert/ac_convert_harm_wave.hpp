#pragma once

#include "app/stages/ac_convert_base.hpp"

namespace Vemo {

/// Synthesises one wave cycle from harmonic amplitudes as a sum of sines in
/// phase zero, normalised to a peak of 1. Harmonics whose amplitude is not
/// above the threshold are left out.
class Ac_convert_harm_wave : public Ac_convert_base {
public:
    using Ac_convert_base::Ac_convert_base;

    bool convert() override;
};

}  // namespace Vemo
