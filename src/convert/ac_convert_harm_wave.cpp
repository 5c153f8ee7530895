#include "convert/ac_convert_harm_wave.hpp"

#include "system/memory_budget.hpp"

#include <algorithm>
#include <numeric>
#include <vector>

namespace Vemo {

std::uint64_t Ac_convert_harm_wave::memory_needed(std::span<const std::uint64_t> sizes) const
{
    // The harmonics that sound in each wave are listed, at most all of them,
    // and each sounds in each of the `output_size` samples of its wave.
    const std::uint64_t count = std::accumulate(sizes.begin(), sizes.end(), std::uint64_t{0});
    return total_bytes({Ac_convert_base::memory_needed(sizes), Sine_sum::memory_needed(count),
                        synthesis_thread_memory(bytes_for(count, output_size))});
}

bool Ac_convert_harm_wave::convert()
{
    if (!ready_to_convert())
        return false;
    if (!allocate_output())
        return false;

    std::vector<Sine_sum> sums;
    sums.reserve(wave_sizes.size());
    std::uint64_t sines = 0;
    for (std::uint64_t k = 0; k < wave_sizes.size(); ++k) {
        sums.emplace_back(input_wave(k), wave_sizes[k], threshold, output_size, 0.0);
        sines = total_bytes({sines, bytes_for(sums.back().sounding_count(), output_size)});
    }
    sum_sines(sums, output_data.get(), output_size, threads_for_synthesis(sines));

    // Each sum is taken at the scale of its own harmonics, and may hold
    // nothing but rounding error.
    std::vector<int> scales(sums.size());
    std::vector<double> noise(sums.size());
    for (std::uint64_t k = 0; k < sums.size(); ++k) {
        scales[k] = sums[k].scale();
        noise[k] = sums[k].noise();
    }
    normalise_output(scales, noise);
    return deliver_output();
}

}  // namespace Vemo
