#include "convert/ac_convert_wave_wave.hpp"

#include "stage/value_array.hpp"
#include "system/memory_budget.hpp"
#include "system/parallel_work.hpp"

#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

namespace Vemo {

namespace {

/// How far, in input samples, the best sinc filter reaches to each side at
/// ratios from 1 up; below 1 its reach grows with 1 / ratio.
constexpr double filter_reach = 140.0;

/// What the resampler keeps while it works, whatever the sizes: measured
/// with libsamplerate 0.2.2 as the growth of VmPeak over one src_simple call
/// of the best sinc converter, 432 KiB for every size and ratio tried (64 to
/// 1000000 samples, ratios 1/500 to 256).
constexpr std::uint64_t resampler_state = 1u << 20;

/// The bytes of the scaled cycle, of its copies in single precision, of the
/// resampled copies up to the middle one's end, and of the resampler's own
/// state.
std::uint64_t resampling_memory(std::uint64_t input_size, std::uint64_t output_size)
{
    const std::uint64_t copies = copies_for_resampling(input_size, output_size);
    const std::uint64_t resampled = total_bytes({bytes_for((copies - 1) / 2, output_size),
                                                 output_size});
    return total_bytes({bytes_for(input_size, sizeof(double)),
                        bytes_for(bytes_for(copies, input_size), sizeof(float)),
                        bytes_for(resampled, sizeof(float)), resampler_state});
}

}  // namespace

std::uint64_t copies_for_resampling(std::uint64_t input_size, std::uint64_t output_size)
{
    if (input_size == 0 || output_size == 0)
        return 1;
    const double m = static_cast<double>(input_size);
    const double reach = filter_reach * std::max(1.0, m / static_cast<double>(output_size));
    return 2 * static_cast<std::uint64_t>(std::ceil(reach / m)) + 1;
}

int resample_cycle(const double* input, std::uint64_t input_size, double* output,
                   std::uint64_t output_size, std::uint64_t copies, int scale)
{
    // A cycle repeats forever: resampling several copies in a row and keeping
    // the middle one filters it as the periodic signal it is, so its ends join
    // up instead of fading against silence.
    std::vector<double> scaled(input_size);
    scale_by_power_of_two(input, input_size, scale, scaled.data());
    std::vector<float> cycles(copies * input_size);
    for (std::uint64_t i = 0; i < cycles.size(); ++i)
        cycles[i] = static_cast<float>(scaled[i % input_size]);
    // The resampler works from the start onwards, so it can stop at the end of
    // the middle copy: what comes after it would only be thrown away.
    const std::uint64_t middle = (copies - 1) / 2 * output_size;
    std::vector<float> resampled(middle + output_size, 0.0f);

    SRC_DATA request{};
    request.data_in = cycles.data();
    request.data_out = resampled.data();
    request.input_frames = static_cast<long>(cycles.size());
    request.output_frames = static_cast<long>(resampled.size());
    // An empty cycle gives an infinite ratio, which the resampler refuses.
    request.src_ratio = static_cast<double>(output_size) / static_cast<double>(input_size);
    const int error = src_simple(&request, SRC_SINC_BEST_QUALITY, 1);
    if (error != 0)
        return error;

    for (std::uint64_t j = 0; j < output_size; ++j)
        output[j] = static_cast<double>(resampled[middle + j]);
    return 0;
}

namespace {

/// Whether wave `size` long is resampled, rather than kept: a periodic cycle
/// resized by the ratio 1 is exactly itself, and the resampler would only
/// dull its highest harmonics and round it to single precision.
bool is_resized(std::uint64_t size, std::uint64_t output_size) { return size != output_size; }

/// The waves are resized on as many threads as the cores, one wave at a time
/// on each: every resize takes a few hundred thousand filter steps.
unsigned resizing_threads(std::span<const std::uint64_t> sizes, std::uint64_t output_size)
{
    const auto resized = static_cast<std::uint64_t>(std::count_if(
        sizes.begin(), sizes.end(), [&](std::uint64_t n) { return is_resized(n, output_size); }));
    return static_cast<unsigned>(std::min<std::uint64_t>(available_cores(), std::max<std::uint64_t>(resized, 1)));
}

}  // namespace

std::uint64_t Ac_convert_wave_wave::memory_needed(std::span<const std::uint64_t> sizes) const
{
    // Every thread may be resampling the wave that takes the most.
    std::uint64_t most = 0;
    for (const std::uint64_t n : sizes)
        if (is_resized(n, output_size))
            most = std::max(most, resampling_memory(n, output_size));
    const unsigned threads = resizing_threads(sizes, output_size);
    return total_bytes({Ac_convert_base::memory_needed(sizes), bytes_for(threads, most),
                        helping_thread_memory(threads)});
}

bool Ac_convert_wave_wave::convert()
{
    if (!ready_to_convert())
        return false;
    if (!allocate_output())
        return false;
    for (const std::uint64_t n : wave_sizes) {
        if (!is_resized(n, output_size))
            continue;
        const std::uint64_t copies = copies_for_resampling(n, output_size);
        const std::uint64_t longest = std::max(n, output_size);
        if (longest > 0 &&
            copies > static_cast<std::uint64_t>(std::numeric_limits<long>::max()) / longest)
            return fail("The wave is too long to be resized.");
        if (!fits_in_memory(resampling_memory(n, output_size)))
            return fail(not_enough_memory);
    }

    std::vector<int> scales(wave_sizes.size(), 0);
    std::vector<int> errors(wave_sizes.size(), 0);
    run_in_parallel(wave_sizes.size(), resizing_threads(wave_sizes, output_size),
                    [&](std::uint64_t k) {
        const std::uint64_t n = wave_sizes[k];
        if (!is_resized(n, output_size)) {
            std::copy(input_wave(k), input_wave(k) + n, output_wave(k));
            return;
        }
        // The resampler works in single precision. Scaling by a power of two
        // brings the cycle's peak near 1 first, so very quiet or very loud
        // cycles neither vanish nor overflow; the scale changes no digit of a
        // value and disappears when the result is normalised.
        scales[k] = -peak_exponent(input_wave(k), n);
        errors[k] = resample_cycle(input_wave(k), n, output_wave(k), output_size,
                                   copies_for_resampling(n, output_size), scales[k]);
    });
    const auto error = std::find_if(errors.begin(), errors.end(), [](int e) { return e != 0; });
    if (error != errors.end())
        return fail(src_strerror(*error));
    normalise_output(scales);
    return deliver_output();
}

}  // namespace Vemo
