#include "system/removal_on_signal.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <iterator>

namespace Vemo {

namespace {

const int ending_signals[] = {SIGHUP, SIGINT, SIGPIPE, SIGTERM};

struct sigaction previous_actions[std::size(ending_signals)];
bool installed[std::size(ending_signals)];

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
    sigemptyset(&action.sa_mask);
    for (const int signal : ending_signals)
        sigaddset(&action.sa_mask, signal);
    for (std::size_t i = 0; i < std::size(ending_signals); ++i) {
        sigaction(ending_signals[i], nullptr, &previous_actions[i]);
        installed[i] = previous_actions[i].sa_handler != SIG_IGN;
        if (installed[i])
            sigaction(ending_signals[i], &action, nullptr);
    }
}

void disarm_removal_on_signal()
{
    for (std::size_t i = 0; i < std::size(ending_signals); ++i)
        if (installed[i]) {
            sigaction(ending_signals[i], &previous_actions[i], nullptr);
            installed[i] = false;
        }
    guarded_descriptor = -1;
    guarded_path = nullptr;
}

void hold_ending_signals()
{
    sigset_t ending;
    sigemptyset(&ending);
    for (const int signal : ending_signals)
        sigaddset(&ending, signal);
    sigprocmask(SIG_BLOCK, &ending, &signals_before_holding);
}

void release_ending_signals() { sigprocmask(SIG_SETMASK, &signals_before_holding, nullptr); }

}  // namespace Vemo
