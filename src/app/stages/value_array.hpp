#pragma once

#include <cstdint>
#include <memory>

namespace Vemo {

/// A new array of `count` zeros. A count beyond what the machine's memory can
/// hold fails at once with std::bad_alloc, instead of thrashing or aborting.
std::unique_ptr<double[]> make_value_array(std::uint64_t count);

/// The largest absolute value of `values[0 .. count)`, 0 for none.
double peak_of(const double* values, std::uint64_t count);

}  // namespace Vemo
