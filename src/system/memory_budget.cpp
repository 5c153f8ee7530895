#include "system/memory_budget.hpp"

#include "system/memory_limits.hpp"

#include <algorithm>

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

}  // namespace

std::uint64_t memory_left()
{
    const Memory_limits limits = Memory_limits::read();
    const std::uint64_t left =
        std::min({limits.available / 2, limits.control_group, limits.address_space, limits.data});
    return left - std::min(left, program_margin);
}

bool fits_in_memory(std::uint64_t bytes) { return bytes <= memory_left(); }

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

bool room_for_another_value(std::vector<double>& values)
{
    if (values.size() < values.capacity())
        return true;
    const std::uint64_t grown = std::max<std::uint64_t>(1024, 2 * values.capacity());
    if (grown > values.max_size() || !fits_in_memory(bytes_for(2 * grown, sizeof(double))))
        return false;
    values.reserve(grown);
    return true;
}

}  // namespace Vemo
