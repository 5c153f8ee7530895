#pragma once

#include <cstdint>
#include <string>

namespace Vemo {

/// How many more bytes this process may take, by each limit it is under, as
/// they stand at the moment they are read. A source that sets no limit, or
/// whose files are missing or unreadable, gives `no_memory_limit`.
struct Memory_limits {
    /// The memory the kernel estimates is available for new work
    /// (MemAvailable), or the machine's physical memory where no estimate
    /// can be read.
    std::uint64_t available = 0;
    /// What the process's control group, and every group above it, still
    /// allows: the limit less the usage the kernel cannot reclaim, so page
    /// cache, active or inactive, does not count as used.
    std::uint64_t control_group = 0;
    /// What RLIMIT_AS leaves beyond the address space in use.
    std::uint64_t address_space = 0;
    /// What RLIMIT_DATA leaves beyond the data segment in use.
    std::uint64_t data = 0;

    /// Reads the limits from the files of /proc and of the control-group
    /// file systems under `root` ("/" for the process itself; a test points
    /// it at a folder of its own), and the resource limits from the system.
    static Memory_limits read(const std::string& root = "/");
};

inline constexpr std::uint64_t no_memory_limit = UINT64_MAX;

}  // namespace Vemo
