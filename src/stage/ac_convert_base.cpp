#include "stage/ac_convert_base.hpp"
#include "stage/value_array.hpp"

#include <algorithm>
#include <cmath>

namespace Vemo {

namespace {

bool all_finite(const double* values, std::uint64_t count)
{
    return std::all_of(values, values + count, [](double v) { return std::isfinite(v); });
}

}  // namespace

Ac_convert_base::Ac_convert_base(std::uint64_t size) : Ac_convert_base(size, 0.0) {}

Ac_convert_base::Ac_convert_base(std::uint64_t size, double zero_threshold)
    : output_size(size), threshold(zero_threshold)
{
}

void Ac_convert_base::set_input(const double* values, std::uint64_t count)
{
    input_data = make_value_array(count);
    if (!input_data) {
        fail(not_enough_memory);
        return;
    }
    std::copy(values, values + count, input_data.get());
    input_size = count;
    if (!all_finite(input_data.get(), input_size))
        fail("The input holds a value that is not a finite number.");
}

std::uint64_t Ac_convert_base::memory_needed(std::uint64_t count) const
{
    return total_bytes({bytes_for(count, sizeof(double)), bytes_for(output_size, sizeof(double))});
}

const double* Ac_convert_base::get_output() const
{
    return has_output && ok ? output_data.get() : nullptr;
}

bool Ac_convert_base::ready_to_convert()
{
    if (!ok)
        return false;
    // Worded as the design words it; a normal run always gives input first.
    return input_data || fail("There is no input, although input for conversion.");
}

bool Ac_convert_base::allocate_output()
{
    output_data = make_value_array(output_size);
    return output_data || fail(not_enough_memory);
}

void Ac_convert_base::normalise_output_to_peak()
{
    normalise_to_peak(output_data.get(), output_size);
}

bool Ac_convert_base::deliver_output()
{
    if (!all_finite(output_data.get(), output_size))
        return fail("The conversion produced a value that is not a finite number.");
    has_output = true;
    return true;
}

}  // namespace Vemo
