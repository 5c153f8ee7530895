#include "system/parallel_work.hpp"

#include "system/memory_budget.hpp"

#include <pthread.h>
#include <sched.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace Vemo {

namespace {

/// The address space one helping thread takes: its stack, of the size
/// threads get by default, and the guard page below it.
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

}  // namespace

unsigned available_cores()
{
    cpu_set_t allowed;
    if (::sched_getaffinity(0, sizeof allowed, &allowed) == 0)
        return static_cast<unsigned>(std::max(1, CPU_COUNT(&allowed)));
    return std::max(1u, std::thread::hardware_concurrency());
}

unsigned threads_for(std::uint64_t work, std::uint64_t work_per_thread)
{
    const std::uint64_t worth = std::max<std::uint64_t>(1, work / work_per_thread);
    return static_cast<unsigned>(std::min<std::uint64_t>(available_cores(), worth));
}

void run_in_parallel(std::uint64_t count, unsigned threads,
                     const std::function<void(std::uint64_t)>& task)
{
    std::atomic<std::uint64_t> next{0};
    std::exception_ptr failure;
    std::mutex failure_lock;
    const auto run_tasks = [&] {
        for (std::uint64_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) {
            try {
                task(i);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(failure_lock);
                if (!failure)
                    failure = std::current_exception();
                next = count;
            }
        }
    };

    if (count == 0)
        return;
    const unsigned helpers =
        static_cast<unsigned>(std::min<std::uint64_t>(std::max(threads, 1u), count) - 1);
    {
        std::vector<std::jthread> helping;
        for (unsigned t = 0; t < helpers; ++t) {
            try {
                helping.emplace_back(run_tasks);
            } catch (const std::exception&) {
                // Without another thread the tasks left are done here all the same.
                break;
            }
        }
        run_tasks();
    }
    if (failure)
        std::rethrow_exception(failure);
}

std::uint64_t helping_thread_memory(unsigned threads)
{
    return bytes_for(std::max(threads, 1u) - 1, thread_stack_bytes());
}

}  // namespace Vemo
