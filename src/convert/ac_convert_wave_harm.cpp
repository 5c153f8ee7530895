#include "convert/ac_convert_wave_harm.hpp"

#include "stage/value_array.hpp"
#include "system/memory_budget.hpp"
#include "system/parallel_work.hpp"

#include <fftw3.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <mutex>
#include <new>
#include <numeric>
#include <vector>

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

/// The sum of the prime factors of `n` above 7, each as often as it divides
/// `n`; 0 for a length made of 2, 3, 5 and 7 alone.
std::uint64_t large_prime_factors(std::uint64_t n)
{
    for (const std::uint64_t small : {2u, 3u, 5u, 7u})
        while (n % small == 0)
            n /= small;
    std::uint64_t sum = 0;
    for (std::uint64_t divisor = 11; divisor <= n / divisor; divisor += 2)
        while (n % divisor == 0) {
            sum += divisor;
            n /= divisor;
        }
    return n > 1 ? sum + n : sum;
}

/// The most bytes that the transform of `n` samples takes, its two arrays
/// included. FFTW tells nothing of its planner's memory, and aborts the
/// program when it cannot get it, so this bound must hold.
///
/// Measured with FFTW 3.3.10, each length in a fresh process, for 4,278
/// lengths: every 2^a 3^b 5^c 7^d from 2^10 to 2^24 (2,260), every length
/// below 1024, and 996 others (random lengths, primes, twice and three times
/// a prime, products of two primes). The peak is the larger growth of the
/// address space (VmPeak) and of the resident set (VmHWM) in
/// /proc/self/status over fftw_malloc of both arrays, planning R2HC with
/// FFTW_ESTIMATE and executing. Beyond the arrays (16 bytes a sample):
/// - a fixed part of at most 2.53 MiB: the planner's tables, and FFTW's own
///   code as the planner first runs it (about 2.1 MiB resident; the address
///   space alone grows by at most 0.55 MiB);
/// - the twiddle factors of the Cooley-Tukey steps (counted in the plans
///   that fftw_sprint_plan shows), which depend on the first radix FFTW
///   picks: 32, 16, 20 or 25, whose codelets keep few twiddles, for lengths
///   divisible by 16, 20 or 25 (at most 2.54 bytes a sample); 8 or 5 for
///   other lengths divisible by 8 or 5 (4.90); 12, 9 or 7 with all their
///   twiddles for the rest (8.12);
/// - for each prime factor p above 7, generic steps (at most 9 bytes a
///   sample in all) and Rader's convolution of length p - 1, padded to a
///   length of small factors near 2p when p - 1 has a large factor: at most
///   68 bytes per unit of p (a prime length itself takes 38 to 77 bytes a
///   sample beyond its arrays).
/// Budgeted: 2.625 MiB, and 19, 21.5 or 24.5 bytes a sample by the first
/// radix, or 26 bytes a sample and 76 per unit of each prime factor above 7.
/// No length measured took more. From 2^10 to 2^24 the budget is 1.02 to
/// 1.16 times the peak for the lengths made of 2, 3, 5 and 7, 1.04 to 1.51
/// times it for other composite lengths and 1.05 to 1.83 times for primes.
/// bench/fft_memory measures it again.
std::uint64_t analysis_memory(std::uint64_t n)
{
    if (n < 2 || n > static_cast<std::uint64_t>(INT_MAX))
        return 0;
    constexpr std::uint64_t fixed = 2688u << 10;
    const std::uint64_t large = large_prime_factors(n);
    // In quarters of a byte a sample.
    const std::uint64_t quarters = large != 0                                  ? 104
                                   : n % 16 == 0 || n % 20 == 0 || n % 25 == 0 ? 76
                                   : n % 8 == 0 || n % 5 == 0                  ? 86
                                                                               : 98;
    return total_bytes({fixed, bytes_for(n, quarters) / 4, bytes_for(large, 76)});
}

/// Analyses of fewer samples than this in all are done on one thread: one
/// transform of this size takes about as long as starting a thread.
constexpr std::uint64_t samples_per_thread = 1 << 15;

/// The two arrays of one transform: the samples in, the transform out.
struct Transform_arrays {
    Fftw_array samples;
    Fftw_array transform;
};

/// The transform of one length, and the arrays its threads take turns with:
/// the pair it was planned on first, and another for each thread that finds
/// none free, so one thread never needs more than the plan's own.
class Length_plan {
public:
    explicit Length_plan(std::uint64_t n) : length(n)
    {
        Transform_arrays arrays = make_arrays();
        plan.reset(fftw_plan_r2r_1d(static_cast<int>(n), arrays.samples.get(),
                                    arrays.transform.get(), FFTW_R2HC, FFTW_ESTIMATE));
        free_arrays.push_back(std::move(arrays));
    }

    /// Transforms the samples that `fill` puts in and hands the transform
    /// to `take`.
    template <typename Fill, typename Take>
    void transform(Fill fill, Take take)
    {
        Transform_arrays arrays = borrow();
        fill(arrays.samples.get());
        fftw_execute_r2r(plan.get(), arrays.samples.get(), arrays.transform.get());
        take(arrays.transform.get());
        const std::lock_guard<std::mutex> hold(lock);
        free_arrays.push_back(std::move(arrays));
    }

    const std::uint64_t length;

private:
    Transform_arrays make_arrays() const
    {
        Transform_arrays arrays{fftw_array(length), fftw_array(length)};
        if (!arrays.samples || !arrays.transform)
            throw std::bad_alloc();
        return arrays;
    }

    Transform_arrays borrow()
    {
        {
            const std::lock_guard<std::mutex> hold(lock);
            if (!free_arrays.empty()) {
                Transform_arrays arrays = std::move(free_arrays.back());
                free_arrays.pop_back();
                return arrays;
            }
        }
        return make_arrays();
    }

    Fftw_plan plan;
    std::mutex lock;
    std::vector<Transform_arrays> free_arrays;
};

/// The lengths of the waves that have harmonics, each once.
std::vector<std::uint64_t> analysed_lengths(std::span<const std::uint64_t> wave_sizes)
{
    std::vector<std::uint64_t> lengths;
    for (const std::uint64_t n : wave_sizes)
        if (n >= 2 && std::find(lengths.begin(), lengths.end(), n) == lengths.end())
            lengths.push_back(n);
    return lengths;
}

unsigned analysis_threads(std::span<const std::uint64_t> wave_sizes)
{
    const std::uint64_t samples =
        std::accumulate(wave_sizes.begin(), wave_sizes.end(), std::uint64_t{0});
    return static_cast<unsigned>(
        std::min<std::uint64_t>(threads_for(samples, samples_per_thread), wave_sizes.size()));
}

}  // namespace

std::uint64_t Ac_convert_wave_harm::memory_needed(std::span<const std::uint64_t> sizes) const
{
    // A plan for each length, with its arrays, and for every helping thread
    // the two arrays of a transform of the longest.
    std::uint64_t plans = 0;
    std::uint64_t longest = 0;
    for (const std::uint64_t n : analysed_lengths(sizes)) {
        plans = total_bytes({plans, analysis_memory(n)});
        longest = std::max(longest, n);
    }
    const unsigned threads = analysis_threads(sizes);
    return total_bytes({Ac_convert_base::memory_needed(sizes), plans,
                        bytes_for(bytes_for(threads - 1, 2 * longest), sizeof(double)),
                        helping_thread_memory(threads)});
}

bool Ac_convert_wave_harm::convert()
{
    if (!ready_to_convert())
        return false;
    if (!allocate_output())
        return false;

    // Planning is not thread-safe, executing a plan is: every length is
    // planned here, and the waves are transformed on as many threads as pay.
    std::vector<std::unique_ptr<Length_plan>> plans;
    for (const std::uint64_t n : analysed_lengths(wave_sizes)) {
        if (n > static_cast<std::uint64_t>(INT_MAX))
            return fail("The wave is too long to be analysed.");
        if (!fits_in_memory(analysis_memory(n)))
            return fail(not_enough_memory);
        plans.push_back(std::make_unique<Length_plan>(n));
    }

    std::vector<int> scales(wave_sizes.size(), 0);
    run_in_parallel(wave_sizes.size(), analysis_threads(wave_sizes), [&](std::uint64_t k) {
        // Fewer than two samples hold no harmonic: the spectrum stays silent.
        const std::uint64_t n = wave_sizes[k];
        if (n < 2)
            return;
        Length_plan& length = **std::find_if(
            plans.begin(), plans.end(), [n](const auto& plan) { return plan->length == n; });
        // Scaling by a power of two brings the peak between 1 and 2 first, so
        // a wave near the largest double does not overflow in the transform.
        // The scale disappears when the spectrum is normalised.
        const double* wave = input_wave(k);
        scales[k] = -peak_exponent(wave, n);
        length.transform(
            [&](double* samples) { scale_by_power_of_two(wave, n, scales[k], samples); },
            [&](const double* transform) {
                // Half-complex layout: the real part of bin h at h, its
                // imaginary part at n - h; for even n the bin n/2 has a real
                // part only.
                double* spectrum = output_wave(k);
                const std::uint64_t harmonics = std::min(n / 2, output_size);
                for (std::uint64_t i = 0; i < harmonics; ++i) {
                    const std::uint64_t h = i + 1;
                    spectrum[i] = 2 * h < n ? std::hypot(transform[h], transform[n - h])
                                            : std::fabs(transform[h]);
                }
            });
    });

    // Relative to the strongest harmonic, weaker ones below the threshold are
    // silenced.
    normalise_output(scales);
    for (std::uint64_t i = 0; i < output_count(); ++i)
        if (std::fabs(output_data[i]) < threshold)
            output_data[i] = 0.0;
    return deliver_output();
}

}  // namespace Vemo
