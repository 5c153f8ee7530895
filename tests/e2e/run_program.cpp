#include "e2e/run_program.hpp"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace Vemo::testing {

namespace {

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

}  // namespace

Program_result run_program(const std::vector<std::string>& arguments,
                           const std::string& working_folder)
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

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, working_folder.c_str());
    pid_t child = 0;
    const int spawned = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    Program_result result;
    if (spawned == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    close(out);
    close(err);
    result.standard_output = slurp(out_name);
    result.standard_error = slurp(err_name);
    unlink(out_name);
    unlink(err_name);
    return result;
}

std::string error_report(const std::string& message)
{
    return "Tonalith ERROR:\n" + message + "\n";
}

}  // namespace Vemo::testing
