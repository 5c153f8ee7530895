#pragma once

#include <cstdint>
#include <memory>

namespace Vemo {

/// Whether `bytes` of working storage may be taken: at most half the memory
/// the machine has available when the program starts, since a run holds
/// about two arrays of the output's size at once. Larger requests fail at
/// once, instead of thrashing, being killed or aborting under a sanitizer.
bool fits_in_memory(std::uint64_t bytes);

/// What a stage says when its values do not fit in memory.
inline constexpr const char* not_enough_memory = "There is not enough memory for this conversion.";

/// A new array of `count` zeros, or null when it does not fit in memory.
std::unique_ptr<double[]> make_value_array(std::uint64_t count);

/// The largest absolute value of `values[0 .. count)`, 0 for none.
double peak_of(const double* values, std::uint64_t count);

/// The power of two of the values' peak (0 for silence): scaled by 2 to its
/// negative, the peak lies between 1 and 2, and no value changes a digit
/// unless it lies some 300 orders of magnitude below the peak.
int peak_exponent(const double* values, std::uint64_t count);

}  // namespace Vemo
