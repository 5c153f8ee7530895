#pragma once

#include <string>

namespace Vemo {

/// The format that a file name's extension names: "audio", "text", "ftable",
/// "mw2", "ysc", or "none". The extension is what follows the last "." of the
/// whole path (the whole path when it holds none), compared case-sensitively.
std::string format_from_extension(const std::string& file_name);

}  // namespace Vemo
