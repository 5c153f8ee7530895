#include "stage/value_array.hpp"

#include <algorithm>
#include <cmath>
#include <new>

namespace Vemo {

std::unique_ptr<double[]> make_value_array(std::uint64_t count)
{
    if (!fits_in_memory(bytes_for(count, sizeof(double))))
        return nullptr;
    try {
        return std::make_unique<double[]>(count);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

double peak_of(const double* values, std::uint64_t count)
{
    double peak = 0.0;
    for (std::uint64_t i = 0; i < count; ++i)
        peak = std::max(peak, std::fabs(values[i]));
    return peak;
}

void normalise_to_peak(double* values, std::uint64_t count, double noise)
{
    const double peak = peak_of(values, count);
    if (peak == 0.0)
        return;
    if (peak <= noise) {
        std::fill(values, values + count, 0.0);
        return;
    }
    divide_by(values, count, peak);
}

void divide_by(double* values, std::uint64_t count, double divisor)
{
    for (std::uint64_t i = 0; i < count; ++i)
        values[i] = values[i] / divisor;
}

int peak_exponent(const double* values, std::uint64_t count)
{
    const double peak = peak_of(values, count);
    return peak > 0.0 ? std::ilogb(peak) : 0;
}

}  // namespace Vemo
