#include "app/stages/value_array.hpp"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <new>
#include <string>

namespace Vemo {

namespace {

/// The memory available for new work, as the kernel estimates it, or the
/// machine's physical memory where no estimate can be read.
std::uint64_t available_memory_bytes()
{
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t kibibytes = 0;
    while (meminfo >> key >> kibibytes) {
        if (key == "MemAvailable:")
            return kibibytes * 1024;
        meminfo.ignore(64, '\n');
    }
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page_size = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0)
        return UINT64_MAX;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size);
}

}  // namespace

bool fits_in_memory(std::uint64_t bytes)
{
    static const std::uint64_t limit = available_memory_bytes() / 2;
    return bytes <= limit;
}

std::unique_ptr<double[]> make_value_array(std::uint64_t count)
{
    if (count > UINT64_MAX / sizeof(double) || !fits_in_memory(count * sizeof(double)))
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

int peak_exponent(const double* values, std::uint64_t count)
{
    const double peak = peak_of(values, count);
    return peak > 0.0 ? std::ilogb(peak) : 0;
}

}  // namespace Vemo
