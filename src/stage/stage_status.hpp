#pragma once

#include <string>

namespace Vemo {

/// How a stage is doing, the one way every reader, converter and writer
/// reports a failure. An operation that fails returns false and leaves a
/// complete sentence in `error_message`. A failure that makes the stage
/// unusable clears `ok` for good, and its message is the one the user sees:
/// the operations that follow fail at once and keep it.
struct Stage_status {
    bool ok = true;
    std::string error_message;

protected:
    /// The stage is unusable from now on. `message` says why, unless an
    /// earlier failure already did; that first message is kept. Returns false.
    bool fail(std::string message);
    /// This operation fails with `message`, but the stage stays usable (it
    /// was called too early, say). Returns false.
    bool report(std::string message);
};

}  // namespace Vemo
