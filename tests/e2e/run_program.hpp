#pragma once

#include <string>
#include <vector>

namespace Vemo::testing {

/// What one run of the built program left behind.
struct Program_result {
    int exit_status = -1;
    std::string standard_output;
    std::string standard_error;
};

/// Runs the built program with `arguments` in the folder `working_folder`;
/// a `file_size_limit` above 0 limits the size of the files it writes.
Program_result run_program(const std::vector<std::string>& arguments,
                           const std::string& working_folder,
                           unsigned long file_size_limit = 0);

/// The error report the program prints for `message`.
std::string error_report(const std::string& message);

}  // namespace Vemo::testing
