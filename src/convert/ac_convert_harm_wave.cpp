#include "convert/ac_convert_harm_wave.hpp"

#include "system/memory_budget.hpp"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <vector>

namespace Vemo {

namespace {

/// Below this many sine evaluations per thread, starting a thread costs more
/// than it saves.
constexpr std::uint64_t sines_per_thread = 16384;

/// Samples are handed out in blocks of this many, so that a thread that got
/// more of a core than another also does more of the work.
constexpr std::uint64_t block_size = 64;

/// The address space a thread that the synthesis starts takes: its stack,
/// of the size threads get by default, and the guard page below it.
std::uint64_t thread_stack_bytes()
{
    std::size_t size = 8u << 20;
    pthread_attr_t defaults;
    if (::pthread_getattr_default_np(&defaults) == 0) {
        ::pthread_attr_getstacksize(&defaults, &size);
        ::pthread_attr_destroy(&defaults);
    }
    return total_bytes({size, 64u << 10});
}

unsigned available_cores()
{
    cpu_set_t allowed;
    if (::sched_getaffinity(0, sizeof allowed, &allowed) == 0)
        return static_cast<unsigned>(std::max(1, CPU_COUNT(&allowed)));
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace

unsigned threads_for_synthesis(std::uint64_t sines)
{
    const std::uint64_t worth = std::max<std::uint64_t>(1, sines / sines_per_thread);
    return static_cast<unsigned>(std::min<std::uint64_t>(available_cores(), worth));
}

void sum_sines(const Sine_sum& sines, double* wave, std::uint64_t size, unsigned threads)
{
    if (size == 0)
        return;
    std::atomic<std::uint64_t> next_block{0};
    const auto sum_blocks = [&] {
        for (;;) {
            const std::uint64_t first = next_block.fetch_add(block_size);
            if (first >= size)
                return;
            const std::uint64_t end = std::min(size, first + block_size);
            sines.sum(wave, first, end);
        }
    };

    const std::uint64_t blocks = (size + block_size - 1) / block_size;
    const unsigned helpers =
        static_cast<unsigned>(std::min<std::uint64_t>(std::max(threads, 1u), blocks)) - 1;
    std::vector<std::jthread> helping;
    helping.reserve(helpers);
    for (unsigned t = 0; t < helpers; ++t) {
        try {
            helping.emplace_back(sum_blocks);
        } catch (const std::system_error&) {
            // Without another thread the blocks left are summed here all the same.
            break;
        }
    }
    sum_blocks();
}

std::uint64_t Ac_convert_harm_wave::memory_needed(std::uint64_t count) const
{
    // The harmonics that sound are listed, and every helping thread has a
    // stack, which counts under RLIMIT_AS even where it is never touched. At
    // most `count` harmonics sound in each of the `output_size` samples.
    const std::uint64_t most_sines = bytes_for(count, output_size);
    const unsigned helpers = threads_for_synthesis(most_sines) - 1;
    return total_bytes({Ac_convert_base::memory_needed(count),
                        Sine_sum::memory_needed(count),
                        bytes_for(helpers, thread_stack_bytes())});
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
