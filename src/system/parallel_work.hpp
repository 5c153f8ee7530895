#pragma once

#include <cstdint>
#include <functional>

namespace Vemo {

/// How many cores this process may run on.
unsigned available_cores();

/// How many threads pay for `work` units of work, where `work_per_thread`
/// units are worth starting a thread for: one for little work, at most as
/// many as the cores this process may run on.
unsigned threads_for(std::uint64_t work, std::uint64_t work_per_thread);

/// Runs `task(i)` for every i from 0 to `count` - 1, shared among up to
/// `threads` threads, this one among them. Each task runs whole on one
/// thread, so a result that depends on nothing but its task's index is the
/// same, bit for bit, whatever the number of threads. Where no further
/// thread can be started, the threads there are do the rest. An exception
/// that a task throws is thrown here once every thread has stopped.
void run_in_parallel(std::uint64_t count, unsigned threads,
                     const std::function<void(std::uint64_t)>& task);

/// The address space that the helping threads of `threads` in all take
/// beyond this one: their stacks, which count under RLIMIT_AS however
/// little of them is used.
std::uint64_t helping_thread_memory(unsigned threads);

}  // namespace Vemo
