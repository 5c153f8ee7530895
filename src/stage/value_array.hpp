#pragma once

#include "system/memory_budget.hpp"

#include <cstdint>
#include <memory>

namespace Vemo {

/// A new array of `count` zeros, or null when it does not fit in what is
/// left of memory.
std::unique_ptr<double[]> make_value_array(std::uint64_t count);

/// A new array that holds a copy of `values[0 .. count)`, or null when it
/// does not fit in what is left of memory.
std::unique_ptr<double[]> copy_value_array(const double* values, std::uint64_t count);

/// Whether every one of `values[0 .. count)` is a finite number.
bool all_finite(const double* values, std::uint64_t count);

/// The largest absolute value of `values[0 .. count)`, 0 for none.
double peak_of(const double* values, std::uint64_t count);

/// Divides every value by the largest absolute one, which becomes exactly +1
/// or -1 and keeps its sign. Silence stays as it is, and values whose peak is
/// no larger than `noise`, the rounding error they may carry, hold nothing
/// but that error and become zeros.
void normalise_to_peak(double* values, std::uint64_t count, double noise = 0.0);

/// Divides every value by `divisor`: a division, not a multiplication by
/// its inverse, so that a value equal to it becomes exactly 1.
void divide_by(double* values, std::uint64_t count, double divisor);

/// Stores `values[i]` times 2 to the `exponent` in `scaled[i]`, each
/// rounded as ldexp rounds it.
void scale_by_power_of_two(const double* values, std::uint64_t count, int exponent,
                           double* scaled);

/// The power of two of the values' peak (0 for silence): scaled by 2 to its
/// negative, the peak lies between 1 and 2, and no value changes a digit
/// unless it lies some 300 orders of magnitude below the peak.
int peak_exponent(const double* values, std::uint64_t count);

}  // namespace Vemo
