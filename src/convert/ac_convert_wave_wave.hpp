#pragma once

#include "app/stages/ac_convert_base.hpp"

namespace Vemo {

/// Resizes one wave cycle by band-limited resampling, treating it as the
/// periodic signal it is, and normalises it to a peak of 1.
class Ac_convert_wave_wave : public Ac_convert_base {
public:
    using Ac_convert_base::Ac_convert_base;

    bool convert() override;
};

}  // namespace Vemo
