#include "convert/ac_convert_harm_wave.hpp"

#include "system/memory_budget.hpp"

namespace Vemo {

std::uint64_t Ac_convert_harm_wave::memory_needed(std::uint64_t count) const
{
    // The harmonics that sound are listed, and every helping thread has a
    // stack, which counts under RLIMIT_AS even where it is never touched. At
    // most `count` harmonics sound in each of the `output_size` samples.
    return total_bytes({Ac_convert_base::memory_needed(count), Sine_sum::memory_needed(count),
                        synthesis_thread_memory(bytes_for(count, output_size))});
}

bool Ac_convert_harm_wave::convert()
{
    if (!ready_to_convert())
        return false;
    if (!allocate_output())
        return false;

    const Sine_sum sines(input_data.get(), input_size, threshold, output_size, 0.0);
    sum_sines(sines, output_data.get(), output_size,
              threads_for_synthesis(sines.sounding_count() * output_size));
    sines.normalise(output_data.get(), output_size);
    return deliver_output();
}

}  // namespace Vemo
