#include "convert/ac_convert_harm_harm.hpp"

#include <algorithm>
#include <cmath>

namespace Vemo {

bool Ac_convert_harm_harm::convert()
{
    if (!ready_to_convert())
        return false;
    if (!allocate_output())
        return false;
    const std::uint64_t kept = std::min(input_size, output_size);
    for (std::uint64_t i = 0; i < kept; ++i)
        output_data[i] = std::fabs(input_data[i]) <= threshold ? 0.0 : input_data[i];
    return deliver_output();
}

}  // namespace Vemo
