#include "system/memory_limits.hpp"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

namespace Vemo {

namespace {

using Bytes = std::optional<std::uint64_t>;

/// A file descriptor, closed when it goes.
class Open_file {
public:
    explicit Open_file(const char* path) : descriptor(::open(path, O_RDONLY | O_CLOEXEC)) {}
    ~Open_file()
    {
        if (descriptor >= 0)
            ::close(descriptor);
    }
    Open_file(const Open_file&) = delete;
    Open_file& operator=(const Open_file&) = delete;

    const int descriptor;
};

/// Reads files of /proc and of the control-group file systems whole, one
/// after another, into one buffer. They are a few kilobytes at most
/// (mountinfo grows with the mounts) and the kernel makes their content at
/// each read, so a few plain reads are all they cost; the parsing looks at
/// the text where it lies.
class File_reader {
public:
    /// The content of the file whose path is `parts` joined, valid until the
    /// next read; empty for a missing or unreadable file.
    std::string_view read(std::initializer_list<std::string_view> parts)
    {
        path.clear();
        for (const std::string_view part : parts)
            path += part;
        const Open_file file(path.c_str());
        std::size_t size = 0;
        while (file.descriptor >= 0) {
            if (size == buffer.size())
                buffer.resize(2 * size);
            const ssize_t got = ::read(file.descriptor, buffer.data() + size, buffer.size() - size);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                break;
            size += static_cast<std::size_t>(got);
        }
        return {buffer.data(), size};
    }

private:
    std::string buffer = std::string(8192, '\0');
    std::string path;
};

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

std::string_view without_leading_blanks(std::string_view text)
{
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    return text;
}

/// The text up to the next `separator` (or the end), and `text` moved past it.
std::string_view next_part(std::string_view& text, char separator)
{
    const void* found = std::memchr(text.data(), separator, text.size());
    const std::size_t length =
        found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) : text.size();
    const std::string_view part = text.substr(0, length);
    text.remove_prefix(std::min(length + 1, text.size()));
    return part;
}

/// Whether the comma-separated `list` holds `item`.
bool lists(std::string_view list, std::string_view item)
{
    for (std::size_t at = list.find(item); at != std::string_view::npos;
         at = list.find(item, at + 1)) {
        const std::size_t end = at + item.size();
        if ((at == 0 || list[at - 1] == ',') && (end == list.size() || list[end] == ','))
            return true;
    }
    return false;
}

/// The whole number at the start of `text`, after any blanks; none for
/// "max" or anything else that does not start with a digit.
Bytes leading_number(std::string_view text)
{
    text = without_leading_blanks(text);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc())
        return std::nullopt;
    return value;
}

/// The values after each of `keys` in `text` of "key value" lines, times
/// `unit`, found in one pass.
template <std::size_t count>
std::array<Bytes, count> keyed_values(std::string_view text,
                                      const std::array<std::string_view, count>& keys,
                                      std::uint64_t unit = 1)
{
    std::array<Bytes, count> values;
    std::array<bool, count> seen{};
    std::size_t left = count;
    for (std::string_view rest = text; left > 0 && !rest.empty();) {
        const std::string_view line = next_part(rest, '\n');
        for (std::size_t k = 0; k < count; ++k) {
            const std::string_view key = keys[k];
            if (seen[k] || line.size() <= key.size() || line[0] != key[0] ||
                !is_blank(line[key.size()]) || !line.starts_with(key))
                continue;
            seen[k] = true;
            --left;
            const Bytes value = leading_number(line.substr(key.size()));
            if (value)
                values[k] = *value > no_memory_limit / unit ? no_memory_limit : *value * unit;
            break;
        }
    }
    return values;
}

Bytes keyed_value(std::string_view text, std::string_view key, std::uint64_t unit = 1)
{
    return keyed_values<1>(text, {key}, unit)[0];
}

/// The page cache of a group: the files it has read or written, active
/// and inactive alike. The kernel drops either to make way for new work;
/// "active" only says it was used more than once lately. Shared memory and
/// tmpfs files, which the version 2 "file" total counts too, cannot be
/// dropped and stay out.
Bytes page_cache(Bytes active, Bytes inactive)
{
    if (!active && !inactive)
        return std::nullopt;
    const std::uint64_t a = active.value_or(0);
    const std::uint64_t b = inactive.value_or(0);
    return a > no_memory_limit - b ? no_memory_limit : a + b;
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
std::string unescaped(std::string_view field)
{
    std::string path;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const std::string_view digits = field.substr(i + 1, 3);
            if (digits.find_first_not_of("01234567") == std::string_view::npos) {
                path += static_cast<char>((digits[0] - '0') * 64 + (digits[1] - '0') * 8 +
                                          (digits[2] - '0'));
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

std::vector<Group_mount> memory_group_mounts(std::string_view mountinfo)
{
    // ID, parent, device, root, mount point, options, optional fields, "-",
    // then the file-system type, its source and its options. Paths have
    // their blanks escaped, so " - " is the separator, and only the lines
    // of control-group file systems are looked at: the search hops from one
    // "-" to the next.
    std::vector<Group_mount> mounts;
    for (std::string_view rest = mountinfo; !rest.empty();) {
        const std::string_view line = next_part(rest, '\n');
        std::size_t separator = line.find('-');
        while (separator != std::string_view::npos &&
               (separator == 0 || line[separator - 1] != ' ' ||
                line.compare(separator + 1, 7, " cgroup") != 0))
            separator = line.find('-', separator + 1);
        if (separator == std::string_view::npos)
            continue;
        std::string_view after = line.substr(separator + 2);
        std::string_view before = line.substr(0, separator);
        const std::string_view type = next_part(after, ' ');
        const bool version_2 = type == "cgroup2";
        next_part(after, ' ');  // the source
        if (!version_2 && (type != "cgroup" || !lists(next_part(after, ' '), "memory")))
            continue;
        std::string_view field[5];
        for (std::string_view& part : field)
            part = next_part(before, ' ');
        if (field[4].empty())
            continue;
        std::string mount_point = unescaped(field[4]);
        if (mount_point == "/")
            mount_point.clear();
        mounts.push_back({unescaped(field[3]), std::move(mount_point), version_2});
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

Group_paths memory_group_paths(std::string_view cgroup)
{
    Group_paths paths;
    for (std::string_view rest = cgroup; !rest.empty();) {
        // "hierarchy:controllers:path"; version 2 has no controllers listed.
        const std::string_view line = next_part(rest, '\n');
        const std::size_t first = line.find(':');
        const std::size_t second = line.find(':', first + 1);
        if (first == std::string_view::npos || second == std::string_view::npos)
            continue;
        const std::string_view controllers = line.substr(first + 1, second - first - 1);
        const std::string_view path = line.substr(second + 1);
        if (controllers.empty() && line.substr(0, first) == "0")
            paths.version_2 = std::string(path);
        else if (lists(controllers, "memory"))
            paths.version_1 = std::string(path);
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
std::uint64_t version_2_left(File_reader& files, std::string_view root,
                             const std::string& mount_point, std::string folder)
{
    std::uint64_t left = no_memory_limit;
    for (;;) {
        const Bytes limit = leading_number(files.read({root, folder, "/memory.max"}));
        const Bytes usage = leading_number(files.read({root, folder, "/memory.current"}));
        const auto [active, inactive] = keyed_values<2>(
            files.read({root, folder, "/memory.stat"}), {"active_file", "inactive_file"});
        left = std::min(left, left_of(limit, usage, page_cache(active, inactive)));
        if (folder.size() <= mount_point.size())
            return left;
        folder.erase(std::max(folder.rfind('/'), mount_point.size()));
    }
}

/// Version 1: the hierarchical limit already takes the parents' limits in.
std::uint64_t version_1_left(File_reader& files, std::string_view root, const std::string& folder)
{
    const auto [limit, active, inactive] =
        keyed_values<3>(files.read({root, folder, "/memory.stat"}),
                        {"hierarchical_memory_limit", "total_active_file", "total_inactive_file"});
    return left_of(limit, leading_number(files.read({root, folder, "/memory.usage_in_bytes"})),
                   page_cache(active, inactive));
}

std::uint64_t control_group_left(File_reader& files, std::string_view root)
{
    const Group_paths groups = memory_group_paths(files.read({root, "/proc/self/cgroup"}));
    if (!groups.version_1 && !groups.version_2)
        return no_memory_limit;
    std::uint64_t left = no_memory_limit;
    bool version_1_done = false;
    bool version_2_done = false;
    for (const Group_mount& mount : memory_group_mounts(files.read({root, "/proc/self/mountinfo"}))) {
        bool& done = mount.version_2 ? version_2_done : version_1_done;
        const std::optional<std::string>& group = mount.version_2 ? groups.version_2
                                                                  : groups.version_1;
        if (done || !group)
            continue;
        const std::optional<std::string> folder = group_folder(mount, *group);
        if (!folder)
            continue;
        done = true;
        left = std::min(left, mount.version_2
                                  ? version_2_left(files, root, mount.mount_point, *folder)
                                  : version_1_left(files, root, *folder));
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

/// The soft limit of `resource`; none where it is unlimited.
Bytes resource_limit(int resource)
{
    rlimit limit{};
    if (::getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::nullopt;
    return static_cast<std::uint64_t>(limit.rlim_cur);
}

}  // namespace

Memory_limits Memory_limits::read(const std::string& root_folder)
{
    const std::string_view root =
        root_folder.ends_with('/') ? std::string_view(root_folder).substr(0, root_folder.size() - 1)
                                   : std::string_view(root_folder);
    File_reader files;
    Memory_limits limits;
    const Bytes available = keyed_value(files.read({root, "/proc/meminfo"}), "MemAvailable:", 1024);
    limits.available = available ? *available : physical_memory();
    limits.control_group = control_group_left(files, root);
    // The process's status is needed only for a resource limit that is set.
    const Bytes address_space = resource_limit(RLIMIT_AS);
    const Bytes data = resource_limit(RLIMIT_DATA);
    limits.address_space = limits.data = no_memory_limit;
    if (address_space || data) {
        const auto [size, data_size] =
            keyed_values<2>(files.read({root, "/proc/self/status"}), {"VmSize:", "VmData:"}, 1024);
        limits.address_space = left_of(address_space, size, {});
        limits.data = left_of(data, data_size, {});
    }
    return limits;
}

}  // namespace Vemo
