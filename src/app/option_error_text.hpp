#pragma once

#include <exception>
#include <string>

namespace Vemo {

/// The option library's own explanation of a command-line error.
///
/// The library builds it by replacing placeholders such as %original_token%
/// with the user's words until none is left, which never ends when a word
/// holds such a placeholder itself. For those words the same text is made
/// here in one pass, so a command line can never hang the program.
std::string option_error_text(const std::exception& error);

}  // namespace Vemo
