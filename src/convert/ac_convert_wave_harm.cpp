#include "convert/ac_convert_wave_harm.hpp"

#include "app/stages/value_array.hpp"

#include <fftw3.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>

namespace Vemo {

namespace {

struct Fftw_free {
    void operator()(double* p) const { fftw_free(p); }
};
struct Fftw_destroy_plan {
    void operator()(fftw_plan_s* p) const { fftw_destroy_plan(p); }
};
using Fftw_array = std::unique_ptr<double[], Fftw_free>;
using Fftw_plan = std::unique_ptr<fftw_plan_s, Fftw_destroy_plan>;

Fftw_array fftw_array(std::uint64_t n)
{
    return Fftw_array(static_cast<double*>(fftw_malloc(sizeof(double) * n)));
}

}  // namespace

bool Ac_convert_wave_harm::convert()
{
    if (!ready_to_convert())
        return false;
    if (!allocate_output())
        return false;

    // Fewer than two samples hold no harmonic: the spectrum stays silent.
    const std::uint64_t n = input_size;
    if (n >= 2) {
        if (n > static_cast<std::uint64_t>(INT_MAX))
            return fail("The wave is too long to be analysed.");
        Fftw_array samples = fftw_array(n);
        Fftw_array transform = fftw_array(n);
        if (!samples || !transform)
            return fail(not_enough_memory);
        const Fftw_plan plan(fftw_plan_r2r_1d(static_cast<int>(n), samples.get(),
                                              transform.get(), FFTW_R2HC, FFTW_ESTIMATE));
        // Scaling by a power of two brings the peak between 1 and 2 first, so
        // a wave near the largest double does not overflow in the transform.
        // The scale disappears when the spectrum is normalised.
        const int scale = -peak_exponent(input_data.get(), n);
        for (std::uint64_t j = 0; j < n; ++j)
            samples[j] = std::ldexp(input_data[j], scale);
        fftw_execute(plan.get());

        // Half-complex layout: the real part of bin h at h, its imaginary part
        // at n - h; for even n the bin n/2 has a real part only.
        const std::uint64_t harmonics = std::min(n / 2, output_size);
        for (std::uint64_t i = 0; i < harmonics; ++i) {
            const std::uint64_t h = i + 1;
            output_data[i] = 2 * h < n ? std::hypot(transform[h], transform[n - h])
                                       : std::fabs(transform[h]);
        }
    }

    // Relative to the strongest harmonic, weaker ones below the threshold are
    // silenced.
    normalise_output_to_peak();
    for (std::uint64_t i = 0; i < output_size; ++i)
        if (std::fabs(output_data[i]) < threshold)
            output_data[i] = 0.0;
    return deliver_output();
}

}  // namespace Vemo
