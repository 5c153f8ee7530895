#include "convert/ac_convert_harm_harm.hpp"

#include <algorithm>
#include <cmath>

namespace Vemo {

bool Ac_convert_harm_harm::convert()
{
    if (!ready_to_convert())
        return false;
    if (!allocate_output())
        return false;
    for (std::uint64_t k = 0; k < wave_sizes.size(); ++k) {
        const double* amplitudes = input_wave(k);
        double* kept = output_wave(k);
        for (std::uint64_t i = 0; i < std::min(wave_sizes[k], output_size); ++i)
            kept[i] = std::fabs(amplitudes[i]) <= threshold ? 0.0 : amplitudes[i];
    }
    return deliver_output();
}

}  // namespace Vemo
