#include "convert/ac_convert_harm_wave.hpp"

#include <cmath>
#include <vector>

namespace Vemo {

bool Ac_convert_harm_wave::convert()
{
    if (!ok || !input_data)
        return false;
    allocate_output();

    // Only harmonics above the threshold sound; the others cost nothing.
    std::vector<std::uint64_t> sounding;
    for (std::uint64_t k = 0; k < input_size; ++k)
        if (std::fabs(input_data[k]) > threshold)
            sounding.push_back(k);

    // The sum follows the formula literally, in this order of operations:
    // x = j * 2pi * h / N, s = s + a * sin(x), harmonics in increasing order.
    // Results are compared bit for bit, so do not rearrange it.
    const double two_pi = 6.283185307179586;
    const double n = static_cast<double>(output_size);
    for (std::uint64_t j = 0; j < output_size; ++j) {
        const double position = static_cast<double>(j) * two_pi;
        double s = 0.0;
        for (const std::uint64_t k : sounding) {
            const double x = position * static_cast<double>(k + 1) / n;
            s = s + input_data[k] * std::sin(x);
        }
        output_data[j] = s;
    }
    normalise_output_to_peak();
    return deliver_output();
}

}  // namespace Vemo
