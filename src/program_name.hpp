#pragma once

#include <string>

namespace Vemo {

/// The program's name, which begins its error report, help text, listing
/// header and the frame-size tag of its audio output.
inline const std::string program_name = "Tonalith";

}  // namespace Vemo
