#include "system/removal_on_signal.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace Vemo {

namespace {

/// The ending signals with a fixed number. The real-time ones follow from
/// SIGRTMIN, which is read at run time: the C library keeps the lowest
/// real-time signals for its threads and moves SIGRTMIN above them.
constexpr int fixed_ending_signals[] = {
    SIGHUP, SIGINT, SIGQUIT, SIGUSR1, SIGUSR2, SIGPIPE, SIGALRM,
    SIGTERM, SIGSTKFLT, SIGIO, SIGPWR, SIGXCPU, SIGVTALRM, SIGPROF};

/// Calls `act` with the number of each ending signal.
template <class Act>
void for_each_ending_signal(Act act)
{
    for (const int signal : fixed_ending_signals)
        act(signal);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        act(signal);
}

sigset_t ending_signal_set()
{
    sigset_t ending;
    sigemptyset(&ending);
    for_each_ending_signal([&](int signal) { sigaddset(&ending, signal); });
    return ending;
}

// By signal number: what each ending signal did before arming, and whether
// its handler is ours now.
struct sigaction previous_actions[NSIG];
bool installed[NSIG];

// Read by the handler: the descriptor is set last and cleared first, so the
// handler never sees a path without its file.
const char* volatile guarded_path = nullptr;
sigset_t signals_before_holding;
volatile std::sig_atomic_t guarded_descriptor = -1;

/// Runs inside a signal handler: only async-signal-safe calls.
extern "C" void remove_and_end(int signal)
{
    const int descriptor = guarded_descriptor;
    const char* path = guarded_path;
    if (descriptor >= 0 && path && path_names_file(path, descriptor))
        ::unlink(path);
    // The signal is blocked while its handler runs; raised again with its
    // default action, it ends the program as soon as the handler returns,
    // and the exit status tells which signal it was.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

}  // namespace

bool path_names_file(const char* path, int descriptor)
{
    struct stat ours;
    struct stat now;
    return ::fstat(descriptor, &ours) == 0 && ::lstat(path, &now) == 0 &&
           now.st_dev == ours.st_dev && now.st_ino == ours.st_ino;
}

void arm_removal_on_signal(const char* path, int descriptor)
{
    guarded_path = path;
    guarded_descriptor = descriptor;
    struct sigaction action {};
    action.sa_handler = remove_and_end;
    // One ending signal at a time: the others wait until the first has
    // ended the program.
    action.sa_mask = ending_signal_set();
    for_each_ending_signal([&](int signal) {
        sigaction(signal, nullptr, &previous_actions[signal]);
        installed[signal] = previous_actions[signal].sa_handler != SIG_IGN;
        if (installed[signal])
            sigaction(signal, &action, nullptr);
    });
}

void disarm_removal_on_signal()
{
    for_each_ending_signal([](int signal) {
        if (installed[signal]) {
            sigaction(signal, &previous_actions[signal], nullptr);
            installed[signal] = false;
        }
    });
    guarded_descriptor = -1;
    guarded_path = nullptr;
}

void hold_ending_signals()
{
    const sigset_t ending = ending_signal_set();
    sigprocmask(SIG_BLOCK, &ending, &signals_before_holding);
}

void release_ending_signals() { sigprocmask(SIG_SETMASK, &signals_before_holding, nullptr); }

}  // namespace Vemo
