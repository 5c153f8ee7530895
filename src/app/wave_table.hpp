#pragma once

#include "system/memory_budget.hpp"

#include <cstdint>
#include <vector>

namespace Vemo {

/// The waves a run converts, one after another, as the readers gave them.
struct Wave_table {
    std::vector<double> values;
    /// The number of values of each wave, in order.
    std::vector<std::uint64_t> sizes;

    /// Makes room for exactly `count` more values; false when they do not
    /// fit in memory.
    bool reserve(std::uint64_t count)
    {
        const std::uint64_t needed = values.size() + count;
        if (needed <= values.capacity())
            return true;
        if (!fits_in_memory(bytes_for(needed, sizeof(double))))
            return false;
        values.reserve(needed);
        return true;
    }

    /// Appends a wave of `count` values; false when it does not fit in memory.
    bool add(const double* wave, std::uint64_t count)
    {
        if (!reserve(count))
            return false;
        values.insert(values.end(), wave, wave + count);
        sizes.push_back(count);
        return true;
    }
};

}  // namespace Vemo
