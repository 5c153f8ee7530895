#include "fuzz/fuzz_folder.hpp"

#include "app/stages/ac_infile_base.hpp"

#include <boost/filesystem.hpp>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace Vemo::fuzzing {

namespace {

std::string make_folder()
{
    char pattern[] = "/tmp/tonalith-fuzz-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("cannot create a temporary folder");
    return pattern;
}

}  // namespace

Fuzz_folder::Fuzz_folder() : path(make_folder()) {}

Fuzz_folder::~Fuzz_folder()
{
    boost::system::error_code ignored;
    boost::filesystem::remove_all(path, ignored);
}

std::string Fuzz_folder::write(const std::string& name, std::string_view content) const
{
    const std::string file_path = path + "/" + name;
    FILE* file = std::fopen(file_path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write a fuzz input file");
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
    return file_path;
}

void read_values(Ac_infile_base& reader)
{
    if (reader.open() && reader.read()) {
        volatile double sum = 0.0;
        for (std::uint64_t i = 0; i < reader.data_size; ++i)
            sum = sum + reader.data[i];
    }
    reader.close();
}

void silence_standard_output()
{
    const int nothing = ::open("/dev/null", O_WRONLY);
    if (nothing >= 0) {
        ::dup2(nothing, STDOUT_FILENO);
        ::close(nothing);
    }
}

}  // namespace Vemo::fuzzing
