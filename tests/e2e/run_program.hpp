#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace Vemo::testing {

/// What one run of the built program left behind.
struct Program_result {
    int exit_status = -1;
    std::string standard_output;
    std::string standard_error;
    /// The largest resident set of the program, in KiB, as getrusage gives
    /// it for a child: it includes what the test process held when it
    /// started the program.
    long peak_memory_kib = 0;
};

/// Runs the built program with `arguments` in the folder `working_folder`;
/// a `file_size_limit` above 0 limits the size of the files it writes.
Program_result run_program(const std::vector<std::string>& arguments,
                           const std::string& working_folder,
                           unsigned long file_size_limit = 0);

/// Whether `Start_options::obey_permissions` can be had here: root needs
/// the right to give up its capabilities.
bool permissions_can_be_enforced();

/// The error report the program prints for `message`.
std::string error_report(const std::string& message);

/// Where a started program's standard output goes.
enum class Output_to {
    file,          ///< a file, read back by `finish`
    pipe,          ///< a pipe whose reading end is `output_pipe`
    gone_reader,   ///< a pipe whose reading end is closed before the start
    full_device,   ///< /dev/full, where every write fails
    closed,        ///< nowhere: standard input and output are closed
};

/// How to start the program, beyond its arguments.
struct Start_options {
    Output_to output = Output_to::file;
    /// A library loaded before all others, when not empty.
    std::string preload;
    /// File permissions hold for the program even when it runs as root.
    bool obey_permissions = false;
    unsigned long file_size_limit = 0;
    /// An address-space limit (RLIMIT_AS) in bytes, when above 0.
    unsigned long address_space_limit = 0;
};

/// The built program started in the background, for tests that act on it
/// while it works. The destructor kills it if it still runs.
class Started_program {
public:
    Started_program(const std::vector<std::string>& arguments, const std::string& working_folder,
                    const Start_options& options = {});
    ~Started_program();
    Started_program(const Started_program&) = delete;
    Started_program& operator=(const Started_program&) = delete;

    /// Waits for the program to end and collects what it printed; the exit
    /// status is 128 + the signal's number for a program ended by a signal.
    Program_result finish();
    /// Waits until the program holds open a file in `folder` that has no
    /// name there yet; false if it ends first.
    bool wait_for_unnamed_file(const std::string& folder) const;
    /// Waits until something exists at `path`; false if the program ends first.
    bool wait_for_path(const std::string& path) const;
    /// Waits until standard output (to a file) holds `text`; false if the
    /// program ends first.
    bool wait_for_output(const std::string& text) const;
    /// Reads standard output up to and including the first line end (pipe only).
    std::string read_line();
    /// Closes the reading end of the output pipe.
    void close_pipe();

private:
    bool running() const;

    std::string output_name;
    std::string error_name;
    int output_pipe = -1;
    bool finished = false;

public:
    pid_t pid = -1;
};

}  // namespace Vemo::testing
