#include "e2e/run_program.hpp"
#include "support/temp_folder.hpp"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

namespace Vemo::testing {

Program_result run_program(const std::vector<std::string>& arguments,
                           const std::string& working_folder, unsigned long file_size_limit)
{
    // Standard output and error go to files outside the working folder, so
    // the folder holds only what the program itself wrote.
    char out_name[] = "/tmp/tonalith-stdout-XXXXXX";
    char err_name[] = "/tmp/tonalith-stderr-XXXXXX";
    const int out = mkstemp(out_name);
    const int err = mkstemp(err_name);
    if (out < 0 || err < 0)
        throw std::runtime_error("cannot capture the program's output");

    std::vector<std::string> words{TONALITH_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child == 0) {
        const int nothing = ::open("/dev/null", O_RDONLY);
        if (nothing < 0 || dup2(nothing, STDIN_FILENO) < 0 || dup2(out, STDOUT_FILENO) < 0 ||
            dup2(err, STDERR_FILENO) < 0 || chdir(working_folder.c_str()) != 0)
            _exit(127);
        if (file_size_limit > 0) {
            const rlimit limit{file_size_limit, file_size_limit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    Program_result result;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child)
        result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    close(out);
    close(err);
    result.standard_output = read_file(out_name);
    result.standard_error = read_file(err_name);
    unlink(out_name);
    unlink(err_name);
    return result;
}

std::string error_report(const std::string& message)
{
    return "Tonalith ERROR:\n" + message + "\n";
}

}  // namespace Vemo::testing
