#pragma once

namespace Vemo {

/// Whether `path` itself, not a link it points through, names the file open
/// as `descriptor`: the same device and inode number. Only async-signal-safe
/// calls, so a signal handler may ask it too.
bool path_names_file(const char* path, int descriptor);

/// Until `disarm_removal_on_signal`, every signal that ends the program from
/// outside by its default action first removes the file at `path`, if the
/// path still names the file open as `descriptor`, and then ends the program
/// as it would have, with the same exit status (and core dump, if any):
/// SIGHUP, SIGINT, SIGQUIT, SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
/// SIGSTKFLT, SIGIO, SIGPWR, SIGXCPU (what a CPU time limit sends),
/// SIGVTALRM, SIGPROF and the real-time signals SIGRTMIN to SIGRTMAX.
///
/// Left as they are: the signals of a fault in the program itself (SIGSEGV,
/// SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGTRAP, SIGSYS), so that the crash and
/// a sanitizer's report stay as they would be; SIGXFSZ, which the program
/// ignores so that a file size limit becomes a reported write failure; and
/// SIGKILL, which no program can catch.
///
/// A signal that the program was started to ignore stays ignored. `path`
/// must stay valid while armed; one file at a time.
void arm_removal_on_signal(const char* path, int descriptor);

/// The signals do again what they did before arming.
void disarm_removal_on_signal();

/// Holds back the ending signals until `release_ending_signals`, so that a
/// file and its removal are set up without a signal in between.
void hold_ending_signals();
void release_ending_signals();

}  // namespace Vemo
