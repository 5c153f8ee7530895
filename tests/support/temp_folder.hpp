#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Vemo::testing {

/// A new empty folder under the system's temporary folder, removed with
/// everything in it when the object goes.
class Temp_folder {
public:
    Temp_folder();
    ~Temp_folder();
    Temp_folder(const Temp_folder&) = delete;
    Temp_folder& operator=(const Temp_folder&) = delete;

    /// The path of `name` inside the folder.
    std::string path(const std::string& name) const;
    /// Writes `content` to a new file `name` in the folder; returns its path.
    std::string write(const std::string& name, const std::string& content) const;
    /// The names of everything in the folder and below it, sorted.
    std::vector<std::string> names() const;

    const std::string root;
};

/// The whole content of a file, or an empty string when it cannot be read.
std::string read_file(const std::string& path);
bool file_exists(const std::string& path);
/// The numbers of a text file of one value per line.
std::vector<double> read_values(const std::string& path);
/// One value per line, with all 17 significant digits.
std::string values_text(const std::vector<double>& values);

}  // namespace Vemo::testing
