#include "e2e/run_program.hpp"
#include "support/temp_folder.hpp"

#include <fcntl.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace Vemo::testing {

namespace {

/// A new empty file outside the working folder, so that the folder holds
/// only what the program itself wrote.
std::string capture_file(const char* stream)
{
    std::string name = std::string("/tmp/tonalith-") + stream + "-XXXXXX";
    const int file = mkstemp(name.data());
    if (file < 0)
        throw std::runtime_error("cannot capture the program's output");
    ::close(file);
    return name;
}

/// Sets up the child's streams and limits, then becomes the program. Only
/// returns, with status 127, when something of that fails.
[[noreturn]] void become_program(std::vector<std::string> words, const std::string& folder,
                                 const Start_options& options, const std::string& output_name,
                                 const std::string& error_name, int pipe_writer)
{
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const int input = ::open("/dev/null", O_RDONLY);
    const int error = ::open(error_name.c_str(), O_WRONLY);
    int output = -1;
    switch (options.output) {
    case Output_to::file: output = ::open(output_name.c_str(), O_WRONLY); break;
    case Output_to::pipe:
    case Output_to::gone_reader: output = pipe_writer; break;
    case Output_to::full_device: output = ::open("/dev/full", O_WRONLY); break;
    case Output_to::closed: output = ::open("/dev/null", O_WRONLY); break;
    }
    if (input < 0 || output < 0 || error < 0 || dup2(input, STDIN_FILENO) < 0 ||
        dup2(output, STDOUT_FILENO) < 0 || dup2(error, STDERR_FILENO) < 0 ||
        chdir(folder.c_str()) != 0)
        _exit(127);
    if (options.output == Output_to::closed) {
        ::close(STDIN_FILENO);
        ::close(STDOUT_FILENO);
    }
    if (options.file_size_limit > 0) {
        const rlimit limit{options.file_size_limit, options.file_size_limit};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (!options.preload.empty())
        setenv("LD_PRELOAD", options.preload.c_str(), 1);
    // Root keeps its user but loses the right to pass over file permissions.
    if (options.obey_permissions && geteuid() == 0 &&
        (prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE) != 0 ||
         prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH) != 0))
        _exit(127);
    // The test runner's signal mask and ignored signals are not the program's:
    // it starts with every signal at its default action. A signal that dumps
    // core leaves no core file in the folder under test.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int number = 1; number < NSIG; ++number)
        if (number != SIGKILL && number != SIGSTOP)
            signal(number, SIG_DFL);
    const rlimit no_core{0, 0};
    setrlimit(RLIMIT_CORE, &no_core);
    // Last, since nothing after it may need memory of its own.
    if (options.address_space_limit > 0) {
        const rlimit limit{options.address_space_limit, options.address_space_limit};
        setrlimit(RLIMIT_AS, &limit);
    }
    execv(argv[0], argv.data());
    _exit(127);
}

pid_t start(const std::vector<std::string>& arguments, const std::string& folder,
            const Start_options& options, const std::string& output_name,
            const std::string& error_name, int& output_pipe)
{
    std::vector<std::string> words{TONALITH_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    int ends[2] = {-1, -1};
    const bool piped = options.output == Output_to::pipe || options.output == Output_to::gone_reader;
    if (piped && ::pipe2(ends, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot make a pipe");
    if (options.output == Output_to::gone_reader) {
        ::close(ends[0]);
        ends[0] = -1;
    }
    const pid_t child = fork();
    if (child == 0)
        become_program(words, folder, options, output_name, error_name, ends[1]);
    if (piped)
        ::close(ends[1]);
    output_pipe = ends[0];
    if (child < 0)
        throw std::runtime_error("cannot start the program");
    return child;
}

/// Repeats `done` every millisecond until it holds or `still_going` fails.
template <typename Done, typename Going>
bool poll_until(Done done, Going still_going)
{
    while (still_going()) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}

}  // namespace

Program_result run_program(const std::vector<std::string>& arguments,
                           const std::string& working_folder, unsigned long file_size_limit)
{
    Start_options options;
    options.file_size_limit = file_size_limit;
    return Started_program(arguments, working_folder, options).finish();
}

bool permissions_can_be_enforced()
{
    if (geteuid() != 0)
        return true;
    const pid_t child = fork();
    if (child == 0)
        _exit(prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE) == 0 ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

std::string error_report(const std::string& message)
{
    return "Tonalith ERROR:\n" + message + "\n";
}

Started_program::Started_program(const std::vector<std::string>& arguments,
                                 const std::string& working_folder, const Start_options& options)
    : output_name(capture_file("stdout")), error_name(capture_file("stderr"))
{
    pid = start(arguments, working_folder, options, output_name, error_name, output_pipe);
}

Started_program::~Started_program()
{
    if (!finished) {
        ::kill(pid, SIGKILL);
        finish();
    }
    close_pipe();
    unlink(output_name.c_str());
    unlink(error_name.c_str());
}

Program_result Started_program::finish()
{
    Program_result result;
    int status = 0;
    rusage usage{};
    if (!finished && wait4(pid, &status, 0, &usage) == pid) {
        result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        result.peak_memory_kib = usage.ru_maxrss;
    }
    finished = true;
    result.standard_output = read_file(output_name);
    result.standard_error = read_file(error_name);
    return result;
}

bool Started_program::running() const
{
    // A program that has ended but is not yet reaped counts as ended.
    siginfo_t state{};
    return waitid(P_PID, static_cast<id_t>(pid), &state, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           state.si_pid == 0;
}

bool Started_program::wait_for_unnamed_file(const std::string& folder) const
{
    namespace fs = std::filesystem;
    const std::string descriptors = "/proc/" + std::to_string(pid) + "/fd";
    // The system names an unnamed file by its folder's real path and "#".
    const std::string unnamed_prefix = fs::canonical(folder).string() + "/#";
    const auto holds_one = [&] {
        std::error_code error;
        for (fs::directory_iterator entry(descriptors, error), end; !error && entry != end;
             entry.increment(error))
            if (fs::read_symlink(entry->path(), error).string().rfind(unnamed_prefix, 0) == 0)
                return true;
        return false;
    };
    return poll_until(holds_one, [this] { return running(); });
}

bool Started_program::wait_for_path(const std::string& path) const
{
    const auto exists = [&] {
        struct stat status;
        return ::lstat(path.c_str(), &status) == 0;
    };
    return poll_until(exists, [this] { return running(); });
}

bool Started_program::wait_for_output(const std::string& text) const
{
    const auto printed = [&] { return read_file(output_name).find(text) != std::string::npos; };
    return poll_until(printed, [this] { return running(); });
}

std::string Started_program::read_line()
{
    std::string line;
    char c = 0;
    while (output_pipe >= 0 && ::read(output_pipe, &c, 1) == 1) {
        line += c;
        if (c == '\n')
            break;
    }
    return line;
}

void Started_program::close_pipe()
{
    if (output_pipe >= 0)
        ::close(output_pipe);
    output_pipe = -1;
}

}  // namespace Vemo::testing
