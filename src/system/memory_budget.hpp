#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace Vemo {

/// The message of every run refused for want of memory.
inline constexpr char not_enough_memory[] = "There is not enough memory for this conversion.";

/// What the allocator holds from the system: its heap and the blocks it
/// maps apart from it.
std::uint64_t heap_held();

/// What a run may still take. The limits are read once, when the first
/// question comes; later questions are answered from that reading less what
/// the heap has grown since.
class Memory_budget {
public:
    /// Reads the limits under `root` ("/" for the process itself) when first
    /// asked, and measures what the run has taken since with `held`.
    explicit Memory_budget(std::string root = "/", std::uint64_t (*held)() = heap_held);

    /// How many more bytes may be taken for values and working storage: the
    /// smallest of half the memory available (room for the rest of the
    /// machine), what the control group still allows and what RLIMIT_AS and
    /// RLIMIT_DATA still leave, less what the program needs beyond the
    /// storage its stages count, less what the heap has grown since.
    std::uint64_t left();

    /// Whether `bytes` more fit in what is left.
    bool fits(std::uint64_t bytes);

private:
    void read_limits();

    std::string root;
    std::uint64_t (*held)();
    bool has_read = false;
    std::uint64_t left_at_reading = 0;
    std::uint64_t held_at_reading = 0;
    /// What `left` gave last, less all the bytes granted since. The run
    /// takes no more than it is granted (what it takes unasked is within the
    /// program's margin), so at least this much is still left, and a
    /// question that fits in it needs no new measurement.
    std::uint64_t surely_left = 0;
};


/// Whether `bytes` more fit in what the run's budget leaves. Larger
/// requests are refused at once, instead of thrashing, being killed or
/// aborting inside a library.
bool fits_in_memory(std::uint64_t bytes);

/// The bytes of `count` items of `size` bytes each; UINT64_MAX, which never
/// fits, when that is beyond 64 bits.
std::uint64_t bytes_for(std::uint64_t count, std::uint64_t size);

/// The sum of `parts`, at most UINT64_MAX.
std::uint64_t total_bytes(std::initializer_list<std::uint64_t> parts);

/// Grows `values` as a vector grows, but only when the grown array and the
/// copy that the reader hands on from it fit; false when they do not.
bool grow_within_budget(std::vector<double>& values);

/// Makes room for one more value, growing `values` within the budget when
/// it is full. Readers ask once a value, so the common case is inline.
inline bool room_for_another_value(std::vector<double>& values)
{
    return values.size() < values.capacity() || grow_within_budget(values);
}

}  // namespace Vemo
