#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace Vemo {

/// `count` waves spread evenly over the `waves` waves of `size` values that
/// `table` holds one after another. Output wave j sits at the position
/// p = j (W - 1) / (N - 1) among the W input waves (p = 0 when N is 1): at a
/// whole position it is that wave, and between waves k and k + 1 it is
/// (1 - f) x_k + f x_{k+1} with f = p - k. So 64 waves become 256 by
/// crossfading neighbours, and 256 become 64 by picking and crossfading.
std::vector<double> spread_waves(std::span<const double> table, std::uint64_t waves,
                                 std::uint64_t size, std::uint64_t count);

}  // namespace Vemo
