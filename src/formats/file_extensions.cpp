// The one table of file name extensions: the format each names, and for
// audio output the container libsndfile writes.

#include "formats/file_extensions.hpp"

#include <sndfile.h>

#include <algorithm>

namespace Vemo {

namespace {

struct Extension {
    /// In lower case; a file name's may be in any case.
    std::string_view name;
    std::string_view format;
    /// The container of audio output under this name; 0 for other formats.
    int audio_container;
    /// Whether the name is known only for input: audio output is WAV or AIFF.
    bool input_only = false;
};

const Extension extensions[] = {
    {"wav", "audio", SF_FORMAT_WAV},
    {"aif", "audio", SF_FORMAT_AIFF},
    {"aiff", "audio", SF_FORMAT_AIFF},
    {"txt", "text", 0},
    {"ftable", "ftable", 0},
    {"syx", "mw2", 0},
    {"ysc", "ysc", 0},
    {"svg", "svg", 0},
    {"wt", "wt", 0},
    // The other containers and encodings libsndfile reads.
    {"flac", "audio", 0, true},
    {"ogg", "audio", 0, true},
    {"oga", "audio", 0, true},
    {"opus", "audio", 0, true},
    {"mp3", "audio", 0, true},
    {"au", "audio", 0, true},
    {"snd", "audio", 0, true},
    {"caf", "audio", 0, true},
    {"w64", "audio", 0, true},
    {"rf64", "audio", 0, true},
};

/// Whether `extension` is `name` in any letter case (`name` in lower case).
bool extension_is(std::string_view extension, std::string_view name)
{
    // Letters are folded by hand: the locale must not decide what a name means.
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(extension.begin(), extension.end(), name.begin(), name.end(),
                      [&](char a, char b) { return lower(a) == b; });
}

const Extension* find_extension(const std::string& file_name, bool for_output)
{
    const std::string_view extension = file_extension(file_name);
    for (const Extension& row : extensions)
        if (extension_is(extension, row.name) && !(for_output && row.input_only))
            return &row;
    return nullptr;
}

}  // namespace

std::string_view file_extension(const std::string& file_name)
{
    const std::size_t dot = file_name.rfind('.');
    return dot == std::string::npos ? std::string_view(file_name)
                                    : std::string_view(file_name).substr(dot + 1);
}

std::string format_from_extension(const std::string& file_name)
{
    const Extension* row = find_extension(file_name, false);
    return row ? std::string(row->format) : "none";
}

std::string output_format_from_extension(const std::string& file_name)
{
    const Extension* row = find_extension(file_name, true);
    return row ? std::string(row->format) : "none";
}

int audio_container_from_extension(const std::string& file_name)
{
    const Extension* row = find_extension(file_name, true);
    return row ? row->audio_container : 0;
}

std::string audio_output_extensions()
{
    std::string list;
    std::string_view last;
    for (const Extension& row : extensions) {
        if (row.audio_container == 0)
            continue;
        if (!last.empty())
            list += (list.empty() ? "." : ", .") + std::string(last);
        last = row.name;
    }
    return list.empty() ? "." + std::string(last) : list + " or ." + std::string(last);
}

}  // namespace Vemo
