// The limits a process is under, read from /proc and control-group files of
// the test's own: the kernel's file layouts, never the machine's groups.

#include "system/memory_limits.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <utility>
#include <vector>

namespace Vemo::testing {
namespace {

constexpr std::uint64_t mib = 1 << 20;

/// What a group whose limit is 1 GiB shows when it has used 278 MiB, 204
/// MiB of them page cache: 950 MiB are left.
const std::string cache_heavy_usage = std::to_string(278 * mib);
const std::string cache = std::to_string(204 * mib);

const std::string version_2_mount = "30 23 0:26 / /sys/fs/cgroup rw,nosuid - cgroup2 cgroup2 rw\n";
const std::string version_1_mounts =
    "31 23 0:28 / /sys/fs/cgroup rw - tmpfs tmpfs rw,mode=755\n"
    "32 31 0:29 / /sys/fs/cgroup/cpu rw,relatime - cgroup cgroup rw,cpu\n"
    "35 31 0:32 / /sys/fs/cgroup/memory rw,relatime shared:9 - cgroup cgroup rw,memory\n";

TEST(Memory_limits, ReadsWhatTheControlGroupStillAllows)
{
    using Files = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        std::string name;
        Files files;
        std::uint64_t left;
    };
    const Case cases[] = {
        {"version 2: the limit less the usage that is not page cache",
         {{"proc/self/cgroup", "0::/user.slice/run.scope\n"},
          {"proc/self/mountinfo", version_2_mount},
          {"sys/fs/cgroup/user.slice/run.scope/memory.max", "1073741824\n"},
          {"sys/fs/cgroup/user.slice/run.scope/memory.current", cache_heavy_usage + "\n"},
          {"sys/fs/cgroup/user.slice/run.scope/memory.stat",
           "anon 1000\nfile 2000\nactive_file 5\ninactive_file " + cache + "\n"}},
         950 * mib + 5},
        {"version 2: page cache the kernel counts as active is reclaimable too, tmpfs is not",
         {{"proc/self/cgroup", "0::/job\n"},
          {"proc/self/mountinfo", version_2_mount},
          {"sys/fs/cgroup/job/memory.max", std::to_string(600 * mib)},
          {"sys/fs/cgroup/job/memory.current", std::to_string(590 * mib)},
          {"sys/fs/cgroup/job/memory.stat",
           "anon " + std::to_string(40 * mib) + "\nfile " + std::to_string(550 * mib) +
               "\nshmem " + std::to_string(100 * mib) + "\nactive_file " +
               std::to_string(400 * mib) + "\ninactive_file " + std::to_string(50 * mib) + "\n"}},
         460 * mib},
        {"version 2: a parent's tighter limit counts, its other groups' usage too",
         {{"proc/self/cgroup", "0::/user.slice/run.scope\n"},
          {"proc/self/mountinfo", version_2_mount},
          {"sys/fs/cgroup/user.slice/memory.max", std::to_string(500 * mib)},
          {"sys/fs/cgroup/user.slice/memory.current", std::to_string(300 * mib)},
          {"sys/fs/cgroup/user.slice/run.scope/memory.max", "max\n"},
          {"sys/fs/cgroup/user.slice/run.scope/memory.current", std::to_string(mib)}},
         200 * mib},
        {"version 2: max everywhere is no limit",
         {{"proc/self/cgroup", "0::/a\n"},
          {"proc/self/mountinfo", version_2_mount},
          {"sys/fs/cgroup/a/memory.max", "max\n"},
          {"sys/fs/cgroup/a/memory.current", "4096\n"}},
         no_memory_limit},
        {"version 2 in a container: the group lies at the mount's root",
         {{"proc/self/cgroup", "0::/docker/abc\n"},
          {"proc/self/mountinfo",
           "40 30 0:26 /docker/abc /sys/fs/cgroup ro,nosuid - cgroup2 cgroup rw\n"},
          {"sys/fs/cgroup/memory.max", std::to_string(64 * mib)},
          {"sys/fs/cgroup/memory.current", std::to_string(10 * mib)}},
         54 * mib},
        {"version 2 with a group namespace, on a mount point with a blank",
         {{"proc/self/cgroup", "0::/\n"},
          {"proc/self/mountinfo", "40 30 0:26 / /mnt/group\\040tree rw - cgroup2 none rw\n"},
          {"mnt/group tree/memory.max", std::to_string(64 * mib)}},
         64 * mib},
        {"dashes in the paths, and optional fields before the separator",
         {{"proc/self/cgroup", "0::/docker-1/job\n"},
          {"proc/self/mountinfo",
           "22 1 8:1 / / rw - ext4 /dev/sda-1 rw\n"
           "41 30 0:26 /docker-1 /sys/fs/cgroup-v2 rw shared:5 master:1 - cgroup2 cgroup2 rw\n"},
          {"sys/fs/cgroup-v2/job/memory.max", std::to_string(48 * mib)}},
         48 * mib},
        {"version 1: the hierarchical limit less the usage that is not page cache",
         {{"proc/self/cgroup", "5:devices:/\n4:memory:/batch/job7\n3:cpu:/\n0::/\n"},
          {"proc/self/mountinfo", version_1_mounts},
          {"sys/fs/cgroup/memory/batch/job7/memory.limit_in_bytes", "9223372036854771712\n"},
          {"sys/fs/cgroup/memory/batch/job7/memory.usage_in_bytes", cache_heavy_usage + "\n"},
          {"sys/fs/cgroup/memory/batch/job7/memory.stat",
           "cache 1\ninactive_file 7\nhierarchical_memory_limit 1073741824\n"
           "total_cache 9\ntotal_inactive_file " + cache + "\n"}},
         950 * mib},
        {"version 1: active page cache is reclaimable too",
         {{"proc/self/cgroup", "4:memory:/job\n"},
          {"proc/self/mountinfo", version_1_mounts},
          {"sys/fs/cgroup/memory/job/memory.usage_in_bytes", std::to_string(900 * mib)},
          {"sys/fs/cgroup/memory/job/memory.stat",
           "active_file 1\ninactive_file 2\nhierarchical_memory_limit 1073741824\n"
           "total_inactive_file " + std::to_string(100 * mib) + "\ntotal_active_file " +
               std::to_string(600 * mib) + "\n"}},
         824 * mib},
        {"version 1 in a container, with the controllers mounted together",
         {{"proc/self/cgroup", "4:cpu,memory:/docker/abc\n"},
          {"proc/self/mountinfo",
           "50 40 0:32 /docker/abc /sys/fs/cgroup/cpu,memory ro - cgroup cgroup rw,cpu,memory\n"},
          {"sys/fs/cgroup/cpu,memory/memory.usage_in_bytes", std::to_string(mib)},
          {"sys/fs/cgroup/cpu,memory/memory.stat",
           "hierarchical_memory_limit " + std::to_string(33 * mib) + "\n"}},
         32 * mib},
        {"both versions mounted: the tighter group counts",
         {{"proc/self/cgroup", "4:memory:/g\n0::/g\n"},
          {"proc/self/mountinfo",
           version_1_mounts + "41 31 0:38 / /sys/fs/cgroup/unified rw - cgroup2 cgroup2 rw\n"},
          {"sys/fs/cgroup/memory/g/memory.stat",
           "hierarchical_memory_limit " + std::to_string(100 * mib) + "\n"},
          {"sys/fs/cgroup/unified/g/memory.max", std::to_string(80 * mib)}},
         80 * mib},
        {"missing group files are no limit",
         {{"proc/self/cgroup", "4:memory:/gone\n0::/gone\n"},
          {"proc/self/mountinfo", version_1_mounts + version_2_mount}},
         no_memory_limit},
        {"a group outside what the mount shows is no limit",
         {{"proc/self/cgroup", "0::/elsewhere\n"},
          {"proc/self/mountinfo", "40 30 0:26 /docker/abc /sys/fs/cgroup rw - cgroup2 cgroup rw\n"},
          {"sys/fs/cgroup/memory.max", "4096\n"}},
         no_memory_limit},
        {"no /proc at all is no limit", {}, no_memory_limit},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Temp_folder root;
        for (const auto& [path, content] : c.files) {
            const std::filesystem::path file = root.path(path);
            std::filesystem::create_directories(file.parent_path());
            std::ofstream(file) << content;
        }
        EXPECT_EQ(Memory_limits::read(root.root).control_group, c.left);
    }
}

TEST(Memory_limits, TakesTheAvailableMemoryTheKernelEstimates)
{
    Temp_folder root;
    std::filesystem::create_directories(root.path("proc"));
    root.write("proc/meminfo",
               "MemTotal:       24731368 kB\nMemFree:        23070852 kB\n"
               "MemAvailable:   23638388 kB\nBuffers:            4732 kB\n");
    EXPECT_EQ(Memory_limits::read(root.root).available, 23638388ull * 1024);
}

}  // namespace
}  // namespace Vemo::testing
