#include "convert/ac_convert_wave_wave.hpp"

#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace Vemo {

namespace {

/// How far, in input samples, the best sinc filter reaches to each side at
/// ratios from 1 up; below 1 its reach grows with 1 / ratio.
constexpr double filter_reach = 140.0;

/// The number of cycle copies handed to the resampler: odd, and enough that
/// the filter never sees past the ends from the middle copy.
std::uint64_t copies_needed(std::uint64_t input_size, std::uint64_t output_size)
{
    const double m = static_cast<double>(input_size);
    const double reach = filter_reach * std::max(1.0, m / static_cast<double>(output_size));
    return 2 * static_cast<std::uint64_t>(std::ceil(reach / m)) + 1;
}

}  // namespace

bool Ac_convert_wave_wave::convert()
{
    if (!ok || !input_data)
        return false;
    allocate_output();

    const std::uint64_t m = input_size;
    const std::uint64_t n = output_size;
    const double ratio = static_cast<double>(n) / static_cast<double>(m);
    // An empty cycle gives an infinite ratio, which the resampler refuses
    // with its own text below.
    const std::uint64_t copies = m == 0 ? 1 : copies_needed(m, n);
    if (copies > std::numeric_limits<long>::max() / std::max<std::uint64_t>(m, n))
        return fail("The wave is too long to be resized.");

    // A cycle repeats forever: resampling several copies in a row and keeping
    // the middle one filters it as the periodic signal it is, so the ends of
    // the cycle join up instead of being faded against silence.
    std::vector<float> cycles(copies * m);
    for (std::uint64_t i = 0; i < cycles.size(); ++i)
        cycles[i] = static_cast<float>(input_data[i % m]);
    std::vector<float> resampled(copies * n, 0.0f);

    SRC_DATA request{};
    request.data_in = cycles.data();
    request.data_out = resampled.data();
    request.input_frames = static_cast<long>(cycles.size());
    request.output_frames = static_cast<long>(resampled.size());
    request.src_ratio = ratio;
    const int error = src_simple(&request, SRC_SINC_BEST_QUALITY, 1);
    if (error != 0)
        return fail(src_strerror(error));

    const std::uint64_t middle = (copies - 1) / 2 * n;
    for (std::uint64_t j = 0; j < n; ++j)
        output_data[j] = static_cast<double>(resampled[middle + j]);
    normalise_output_to_peak();
    return deliver_output();
}

}  // namespace Vemo
