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

std::unique_ptr<double[]> copy_value_array(const double* values, std::uint64_t count)
{
    if (!fits_in_memory(bytes_for(count, sizeof(double))))
        return nullptr;
    try {
        // Every element is written below: no zeros first.
        std::unique_ptr<double[]> copy = std::make_unique_for_overwrite<double[]>(count);
        std::copy(values, values + count, copy.get());
        return copy;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool all_finite(const double* values, std::uint64_t count)
{
    return std::all_of(values, values + count, [](double v) { return std::isfinite(v); });
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

void scale_by_power_of_two(const double* values, std::uint64_t count, int exponent,
                           double* scaled)
{
    // A product with a power of two is rounded once, exactly as ldexp
    // rounds: the same double, at a fraction of the cost. Powers beyond the
    // range of normal doubles are left to ldexp.
    if (exponent >= -1000 && exponent <= 1000) {
        const double factor = std::ldexp(1.0, exponent);
        for (std::uint64_t i = 0; i < count; ++i)
            scaled[i] = values[i] * factor;
        return;
    }
    for (std::uint64_t i = 0; i < count; ++i)
        scaled[i] = std::ldexp(values[i], exponent);
}

int peak_exponent(const double* values, std::uint64_t count)
{
    const double peak = peak_of(values, count);
    return peak > 0.0 ? std::ilogb(peak) : 0;
}

}  // namespace Vemo
