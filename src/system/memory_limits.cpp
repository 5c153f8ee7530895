#include "system/memory_limits.hpp"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <vector>

namespace Vemo {

namespace {

using Bytes = std::optional<std::uint64_t>;

/// The value after `key` in a file of "key value" lines, times `unit`.
Bytes keyed_value(const std::string& file, const std::string& key, std::uint64_t unit = 1)
{
    std::ifstream lines(file);
    std::string name;
    std::uint64_t value = 0;
    while (lines >> name) {
        if (name == key && lines >> value)
            return value * unit;
        lines.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return std::nullopt;
}

/// The number a control-group file holds; none for "max", for a missing or
/// unreadable file, or for anything else that is not a number.
Bytes number_in(const std::string& file)
{
    std::ifstream content(file);
    std::uint64_t value = 0;
    if (content >> value)
        return value;
    return std::nullopt;
}

/// How much of `limit` is left once the usage that cannot be reclaimed is
/// taken off: the page cache in `reclaimable` can make way for new work.
std::uint64_t left_of(Bytes limit, Bytes usage, Bytes reclaimable)
{
    if (!limit)
        return no_memory_limit;
    const std::uint64_t used = usage.value_or(0);
    const std::uint64_t kept = used - std::min(used, reclaimable.value_or(0));
    return *limit - std::min(*limit, kept);
}

/// A path of /proc/self/mountinfo, whose blanks, tabs, line feeds and
/// backslashes are written as octal escapes.
std::string unescaped(const std::string& field)
{
    std::string path;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string::npos) {
                path += static_cast<char>(std::stoi(digits, nullptr, 8));
                i += 3;
                continue;
            }
        }
        path += field[i];
    }
    return path;
}

/// One mounted control-group file system.
struct Group_mount {
    std::string root;         ///< the group the mount shows at its mount point
    std::string mount_point;  ///< without a final slash
    bool version_2;
};

std::vector<Group_mount> memory_group_mounts(const std::string& mountinfo)
{
    std::vector<Group_mount> mounts;
    std::ifstream lines(mountinfo);
    for (std::string line; std::getline(lines, line);) {
        // ID, parent, device, root, mount point, options, optional fields,
        // "-", then the file-system type, its source and its options.
        std::istringstream fields(line);
        std::vector<std::string> field;
        for (std::string word; fields >> word;)
            field.push_back(word);
        const auto separator = std::find(field.begin(), field.end(), "-");
        if (field.size() < 5 || field.end() - separator < 2)
            continue;
        const std::string& type = separator[1];
        const std::string options = field.end() - separator > 3 ? "," + separator[3] + "," : "";
        const bool version_2 = type == "cgroup2";
        if (!version_2 && (type != "cgroup" || options.find(",memory,") == std::string::npos))
            continue;
        std::string mount_point = unescaped(field[4]);
        if (mount_point == "/")
            mount_point.clear();
        mounts.push_back({unescaped(field[3]), mount_point, version_2});
    }
    return mounts;
}

/// The path of the process's group in each hierarchy that can limit
/// memory: the version 2 one, and the version 1 one of the memory
/// controller.
struct Group_paths {
    std::optional<std::string> version_1;
    std::optional<std::string> version_2;
};

Group_paths memory_group_paths(const std::string& cgroup)
{
    Group_paths paths;
    std::ifstream lines(cgroup);
    for (std::string line; std::getline(lines, line);) {
        // "hierarchy:controllers:path"; version 2 has no controllers listed.
        const std::size_t first = line.find(':');
        const std::size_t second = line.find(':', first + 1);
        if (first == std::string::npos || second == std::string::npos)
            continue;
        const std::string controllers = "," + line.substr(first + 1, second - first - 1) + ",";
        const std::string path = line.substr(second + 1);
        if (controllers == ",," && line.compare(0, first, "0") == 0)
            paths.version_2 = path;
        else if (controllers.find(",memory,") != std::string::npos)
            paths.version_1 = path;
    }
    return paths;
}

/// The folder of `group` under `mount`, relative to the group the mount
/// shows (inside a container that is the container's own group); none when
/// the group lies outside what the mount shows.
std::optional<std::string> group_folder(const Group_mount& mount, const std::string& group)
{
    const std::string shown = mount.root == "/" ? "" : mount.root;
    if (group.compare(0, shown.size(), shown) != 0 ||
        (group.size() > shown.size() && group[shown.size()] != '/'))
        return std::nullopt;
    const std::string below = group.substr(shown.size());
    return mount.mount_point + (below == "/" ? "" : below);
}

/// Version 2: every group from the process's own up to the mount's top has
/// its own limit, and the tightest one counts.
std::uint64_t version_2_left(const std::string& root, const std::string& mount_point,
                             std::string folder)
{
    std::uint64_t left = no_memory_limit;
    for (;;) {
        const std::string files = root + folder + "/";
        left = std::min(left, left_of(number_in(files + "memory.max"),
                                      number_in(files + "memory.current"),
                                      keyed_value(files + "memory.stat", "inactive_file")));
        if (folder.size() <= mount_point.size())
            return left;
        folder.erase(std::max(folder.rfind('/'), mount_point.size()));
    }
}

/// Version 1: the hierarchical limit already takes the parents' limits in.
std::uint64_t version_1_left(const std::string& root, const std::string& folder)
{
    const std::string files = root + folder + "/";
    return left_of(keyed_value(files + "memory.stat", "hierarchical_memory_limit"),
                   number_in(files + "memory.usage_in_bytes"),
                   keyed_value(files + "memory.stat", "total_inactive_file"));
}

std::uint64_t control_group_left(const std::string& root)
{
    const Group_paths groups = memory_group_paths(root + "/proc/self/cgroup");
    std::uint64_t left = no_memory_limit;
    bool version_1_done = false;
    bool version_2_done = false;
    for (const Group_mount& mount : memory_group_mounts(root + "/proc/self/mountinfo")) {
        bool& done = mount.version_2 ? version_2_done : version_1_done;
        const std::optional<std::string>& group = mount.version_2 ? groups.version_2
                                                                  : groups.version_1;
        if (done || !group)
            continue;
        const std::optional<std::string> folder = group_folder(mount, *group);
        if (!folder)
            continue;
        done = true;
        left = std::min(left, mount.version_2 ? version_2_left(root, mount.mount_point, *folder)
                                              : version_1_left(root, *folder));
    }
    return left;
}

std::uint64_t physical_memory()
{
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page_size = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page_size <= 0)
        return no_memory_limit;
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(page_size);
}

/// What the soft resource limit `resource` leaves beyond `in_use`.
std::uint64_t resource_left(int resource, Bytes in_use)
{
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return no_memory_limit;
    return left_of(static_cast<std::uint64_t>(limit.rlim_cur), in_use, std::nullopt);
}

}  // namespace

Memory_limits Memory_limits::read(const std::string& root_folder)
{
    const std::string root =
        root_folder.empty() || root_folder.back() != '/' ? root_folder
                                                         : root_folder.substr(0, root_folder.size() - 1);
    const std::string status = root + "/proc/self/status";
    Memory_limits limits;
    limits.available =
        keyed_value(root + "/proc/meminfo", "MemAvailable:", 1024).value_or(physical_memory());
    limits.control_group = control_group_left(root);
    limits.address_space = resource_left(RLIMIT_AS, keyed_value(status, "VmSize:", 1024));
    limits.data = resource_left(RLIMIT_DATA, keyed_value(status, "VmData:", 1024));
    return limits;
}

}  // namespace Vemo
