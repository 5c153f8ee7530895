#include "convert/wave_spread.hpp"

#include <algorithm>

namespace Vemo {

std::vector<double> spread_waves(std::span<const double> table, std::uint64_t waves,
                                 std::uint64_t size, std::uint64_t count)
{
    std::vector<double> spread(count * size);
    if (waves == 0)
        return spread;
    for (std::uint64_t j = 0; j < count; ++j) {
        // The position as a whole part and a remainder over N - 1, exact in
        // integers; 128 bits hold any product of two counts.
        const auto steps = count > 1 ? static_cast<unsigned __int128>(j) * (waves - 1) : 0;
        const std::uint64_t intervals = count > 1 ? count - 1 : 1;
        const auto k = static_cast<std::uint64_t>(steps / intervals);
        const auto remainder = static_cast<std::uint64_t>(steps % intervals);
        const double* before = table.data() + k * size;
        double* wave = spread.data() + j * size;
        if (remainder == 0) {
            std::copy(before, before + size, wave);
            continue;
        }
        const double* after = before + size;
        const double f = static_cast<double>(remainder) / static_cast<double>(intervals);
        for (std::uint64_t i = 0; i < size; ++i)
            wave[i] = (1.0 - f) * before[i] + f * after[i];
    }
    return spread;
}

}  // namespace Vemo
