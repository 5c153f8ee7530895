#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace Vemo {

/// The message of every run refused for want of memory.
inline const std::string not_enough_memory = "There is not enough memory for this conversion.";

/// How many more bytes a run may take for its values and its working
/// storage, as things stand now: the smallest of half the memory available
/// (room for the rest of the machine), what the control group still allows
/// and what RLIMIT_AS and RLIMIT_DATA still leave, less what the program
/// needs beyond the storage its stages count.
std::uint64_t memory_left();

/// Whether `bytes` more fit in what is left. Larger requests are refused at
/// once, instead of thrashing, being killed or aborting inside a library.
bool fits_in_memory(std::uint64_t bytes);

/// The bytes of `count` items of `size` bytes each; UINT64_MAX, which never
/// fits, when that is beyond 64 bits.
std::uint64_t bytes_for(std::uint64_t count, std::uint64_t size);

/// The sum of `parts`, at most UINT64_MAX.
std::uint64_t total_bytes(std::initializer_list<std::uint64_t> parts);

/// Makes room for one more value, growing `values` as a vector grows, but
/// only when the grown array and the copy that the reader hands on from it
/// fit; false when they do not.
bool room_for_another_value(std::vector<double>& values);

}  // namespace Vemo
