#pragma once

namespace Vemo {

/// Whether `path` itself, not a link it points through, names the file open
/// as `descriptor`: the same device and inode number. Only async-signal-safe
/// calls, so a signal handler may ask it too.
bool path_names_file(const char* path, int descriptor);

/// Until `disarm_removal_on_signal`, the signals that end a run from outside
/// (SIGHUP, SIGINT, SIGPIPE, SIGTERM) first remove the file at `path`, if
/// the path still names the file open as `descriptor`, and then end the
/// program as they would have. A signal that the program was started to
/// ignore stays ignored. `path` must stay valid while armed; one file at a
/// time.
void arm_removal_on_signal(const char* path, int descriptor);

/// The signals do again what they did before arming.
void disarm_removal_on_signal();

/// Holds back the ending signals until `release_ending_signals`, so that a
/// file and its removal are set up without a signal in between.
void hold_ending_signals();
void release_ending_signals();

}  // namespace Vemo
