#include "app/stages/value_array.hpp"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <new>

namespace Vemo {

namespace {

std::uint64_t physical_memory_bytes()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page_size = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0)
        return UINT64_MAX;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size);
}

}  // namespace

std::unique_ptr<double[]> make_value_array(std::uint64_t count)
{
    static const std::uint64_t most_values = physical_memory_bytes() / sizeof(double);
    if (count > most_values)
        throw std::bad_alloc();
    return std::make_unique<double[]>(count);
}

double peak_of(const double* values, std::uint64_t count)
{
    double peak = 0.0;
    for (std::uint64_t i = 0; i < count; ++i)
        peak = std::max(peak, std::fabs(values[i]));
    return peak;
}

}  // namespace Vemo
