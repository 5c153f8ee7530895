#pragma once

#include "stage/ac_convert_base.hpp"

namespace Vemo {

/// Truncates or extends spectra to the requested number of harmonics;
/// amplitudes at or below the threshold become 0. Nothing is normalised.
class Ac_convert_harm_harm : public Ac_convert_base {
public:
    using Ac_convert_base::Ac_convert_base;

    bool convert() override;
};

}  // namespace Vemo
