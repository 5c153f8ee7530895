// The budget's arithmetic, and questions answered from one reading of the
// limits: a control group of the test's own, and a heap the test moves.

#include "system/memory_budget.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace Vemo::testing {
namespace {

constexpr std::uint64_t mib = 1 << 20;

TEST(Memory_budget, SizesBeyondSixtyFourBitsNeverFit)
{
    struct Case {
        std::uint64_t count, size, bytes;
    };
    const Case products[] = {
        {0, 8, 0},
        {3, 8, 24},
        {UINT64_MAX, 0, 0},
        {UINT64_MAX / 8, 8, UINT64_MAX / 8 * 8},
        {UINT64_MAX / 8 + 1, 8, UINT64_MAX},
        {1ull << 32, 1ull << 32, UINT64_MAX},
    };
    for (const Case& c : products)
        EXPECT_EQ(bytes_for(c.count, c.size), c.bytes) << c.count << " x " << c.size;

    struct Sum {
        std::uint64_t a, b, c, bytes;
    };
    const Sum sums[] = {
        {1, 2, 3, 6},
        {UINT64_MAX - 3, 2, 0, UINT64_MAX - 1},
        {UINT64_MAX - 1, 2, 0, UINT64_MAX},
        {UINT64_MAX, UINT64_MAX, 5, UINT64_MAX},
        {5, UINT64_MAX, 1, UINT64_MAX},
    };
    for (const Sum& s : sums)
        EXPECT_EQ(total_bytes({s.a, s.b, s.c}), s.bytes) << s.a << " + " << s.b << " + " << s.c;
}

/// The heap as the budget sees it: moved by the test.
std::uint64_t test_heap = 0;
std::uint64_t test_heap_held() { return test_heap; }

/// A machine with plenty of memory and a control group that allows
/// `limit` bytes, of which none is used yet.
void write_group(const Temp_folder& root, std::uint64_t limit)
{
    std::filesystem::create_directories(root.path("proc/self"));
    std::filesystem::create_directories(root.path("sys/fs/cgroup/job"));
    root.write("proc/meminfo", "MemAvailable:   16777216 kB\n");
    root.write("proc/self/cgroup", "0::/job\n");
    root.write("proc/self/mountinfo", "30 23 0:26 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n");
    root.write("sys/fs/cgroup/job/memory.max", std::to_string(limit) + "\n");
}

TEST(Memory_budget, LaterQuestionsAreAnsweredFromTheFirstReadingLessWhatWasTaken)
{
    Temp_folder root;
    write_group(root, 100 * mib);
    test_heap = 500 * mib;
    Memory_budget budget(root.root, test_heap_held);
    const std::uint64_t first = budget.left();
    EXPECT_LE(first, 100 * mib);
    EXPECT_GE(first, 90 * mib);
    // A group whose limit changes after the reading is not read again.
    write_group(root, 10 * mib);

    struct Case {
        std::string what;
        std::int64_t heap_mib_since_reading;
    };
    const auto first_mib = static_cast<std::int64_t>(first / mib);
    const Case cases[] = {
        {"nothing taken", 0},
        {"30 MiB taken", 30},
        {"20 MiB given back", -20},
        {"more taken than there was", first_mib + 5},
        {"all given back again", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::int64_t change = c.heap_mib_since_reading * static_cast<std::int64_t>(mib);
        test_heap = static_cast<std::uint64_t>(static_cast<std::int64_t>(500 * mib) + change);
        const std::int64_t left = static_cast<std::int64_t>(first) - change;
        EXPECT_EQ(budget.left(), static_cast<std::uint64_t>(std::max<std::int64_t>(left, 0)));
    }
}

TEST(Memory_budget, GrantedBytesCountOnlyUntilTheHeapShowsWhatWasTaken)
{
    Temp_folder root;
    write_group(root, 100 * mib);
    test_heap = 0;
    Memory_budget budget(root.root, test_heap_held);
    const std::uint64_t first = budget.left();

    struct Case {
        std::string what;
        std::uint64_t heap;
        std::uint64_t asked;
        bool fits;
    };
    const Case cases[] = {
        {"all that is left", 0, first, true},
        {"granted twice over, but only half of it taken", first / 2, first / 2, true},
        {"one byte once everything is taken", first, 1, false},
        {"the same, once it is freed again", 0, first, true},
        {"one byte more than there is", 0, first + 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test_heap = c.heap;
        EXPECT_EQ(budget.fits(c.asked), c.fits);
    }
}

}  // namespace
}  // namespace Vemo::testing
