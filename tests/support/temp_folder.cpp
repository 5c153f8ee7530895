#include "support/temp_folder.hpp"

#include <boost/filesystem.hpp>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace Vemo::testing {

namespace fs = boost::filesystem;

namespace {

std::string make_folder()
{
    std::string pattern = (fs::temp_directory_path() / "tonalith-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

}  // namespace

Temp_folder::Temp_folder() : root(make_folder()) {}

Temp_folder::~Temp_folder()
{
    boost::system::error_code ignored;
    fs::permissions(root, fs::owner_all | fs::add_perms, ignored);
    fs::remove_all(root, ignored);
}

std::string Temp_folder::path(const std::string& name) const { return root + "/" + name; }

std::string Temp_folder::write(const std::string& name, const std::string& content) const
{
    const std::string file = path(name);
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

std::vector<std::string> Temp_folder::names() const
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root))
        names.push_back(entry.path().string().substr(root.size() + 1));
    std::sort(names.begin(), names.end());
    return names;
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool file_exists(const std::string& path)
{
    boost::system::error_code ignored;
    return fs::exists(fs::symlink_status(path, ignored));
}

std::vector<double> read_values(const std::string& path)
{
    std::vector<double> values;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            values.push_back(std::strtod(line.c_str(), nullptr));
    return values;
}

std::string values_text(const std::vector<double>& values)
{
    std::string text;
    char number[40];
    for (double value : values) {
        std::snprintf(number, sizeof number, "%.17g\n", value);
        text += number;
    }
    return text;
}

}  // namespace Vemo::testing
