#pragma once

#include <string>
#include <string_view>

namespace Vemo {

/// What follows the last "." of the whole path, or the whole path when it
/// holds no "." (so a "." in a folder name counts).
std::string_view file_extension(const std::string& file_name);

/// Whether `extension` is `name` in any letter case (`name` in lower case):
/// people's files end in .WAV and .Syx as well as .wav and .syx.
bool extension_is(std::string_view extension, std::string_view name);

/// The format that a file name's extension names: "audio" (wav, aif, aiff),
/// "text", "ftable", "mw2", "ysc", "svg", or "none". The extension is what
/// follows the last "." of the whole path (the whole path when it holds
/// none), in any letter case.
std::string format_from_extension(const std::string& file_name);

}  // namespace Vemo
