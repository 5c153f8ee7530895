#include "system/memory_budget.hpp"

#include "system/memory_limits.hpp"

#include <malloc.h>

#include <algorithm>
#include <utility>

namespace Vemo {

namespace {

/// What the program takes beyond the values, copies and working storage
/// that its stages count: the libraries' own buffers and state, the stream
/// buffers, the growth of the main thread's stack and what the allocator
/// keeps for itself. Measured as the peak address space at the end of a run
/// (VmPeak) less the address space in use at the run's budget check
/// (VmSize) and less the stages' count, over 426 runs: every reader, writer
/// and type, with 64 to 65536 values in and out, with the program's one
/// allocator arena and small thread stacks (main.cpp). The most was 172 KiB
/// (a spectrum of 65536 harmonics written as text); 1 MiB is kept.
constexpr std::uint64_t program_margin = 1u << 20;

/// The budget of this run.
Memory_budget& run_budget()
{
    static Memory_budget budget;
    return budget;
}

}  // namespace

std::uint64_t heap_held()
{
    // Everything the run takes for its values and working storage comes
    // from malloc: the stages' arrays, FFTW's (fftw_malloc), the decoders
    // of libsndfile and the stream buffers. `arena` is what the heap has
    // from the system (by brk, or mapped where brk fails) and `hblkhd` the
    // large blocks mapped on their own. Both count under RLIMIT_AS and
    // RLIMIT_DATA from the moment they are held, and under the control
    // group once touched, so their sum bounds what the run takes from each
    // limit; freed memory counts until the allocator gives it back, as it
    // does in the address space.
    const struct mallinfo2 heap = ::mallinfo2();
    return total_bytes({heap.arena, heap.hblkhd});
}

Memory_budget::Memory_budget(std::string root, std::uint64_t (*held)())
    : root(std::move(root)), held(held)
{
}

// Reading the limits opens a dozen files of /proc and of the control group
// and costs more than a small conversion, and a run asks a dozen times. So
// they are read once, at the first question, and the heap measured with
// them; later questions take off what the heap has grown since, or give back
// what it has shrunk. What the heap does not show (the stack, the stacks of
// threads started after the last question) is within the program's margin.
void Memory_budget::read_limits()
{
    const Memory_limits limits = Memory_limits::read(root);
    const std::uint64_t least =
        std::min({limits.available / 2, limits.control_group, limits.address_space, limits.data});
    left_at_reading = least - std::min(least, program_margin);
    held_at_reading = held();
    surely_left = left_at_reading;
    has_read = true;
}

std::uint64_t Memory_budget::left()
{
    if (!has_read) {
        read_limits();
        return left_at_reading;
    }
    const std::uint64_t now = held();
    surely_left = now >= held_at_reading
                      ? left_at_reading - std::min(left_at_reading, now - held_at_reading)
                      : total_bytes({left_at_reading, held_at_reading - now});
    return surely_left;
}

bool Memory_budget::fits(std::uint64_t bytes)
{
    // Measuring the heap walks the allocator's lists; most questions are
    // answered without it, from what the last measurement left less what
    // has been granted since. Only when that is too little is the heap
    // measured, which also counts what has been freed.
    if (!has_read)
        read_limits();
    if (bytes > surely_left && bytes > left())
        return false;
    surely_left -= bytes;
    return true;
}

bool fits_in_memory(std::uint64_t bytes) { return run_budget().fits(bytes); }

std::uint64_t bytes_for(std::uint64_t count, std::uint64_t size)
{
    if (size != 0 && count > UINT64_MAX / size)
        return UINT64_MAX;
    return count * size;
}

std::uint64_t total_bytes(std::initializer_list<std::uint64_t> parts)
{
    std::uint64_t total = 0;
    for (const std::uint64_t part : parts)
        total = part > UINT64_MAX - total ? UINT64_MAX : total + part;
    return total;
}

bool grow_within_budget(std::vector<double>& values)
{
    const std::uint64_t grown = std::max<std::uint64_t>(1024, 2 * values.capacity());
    if (grown > values.max_size() || !fits_in_memory(bytes_for(2 * grown, sizeof(double))))
        return false;
    values.reserve(grown);
    return true;
}

}  // namespace Vemo
