// Runs the whole program on a command line built from the fuzzer's bytes.
//
// The input is read as lines: the lines before a line "--" are the words of
// the command line; the bytes after it become the content of every input file
// a command line may name (in.txt, in.wav, in.aiff, in.syx, in.ftable). Each
// run happens in a fresh temporary folder.

#include "app/ac_application.hpp"
#include "fuzz/fuzz_support.hpp"

#include <unistd.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

/// A command-line word made safe to run: numbers of more than four digits
/// are cut to four, so sizes and counts stay small enough that a run
/// measures robustness, not patience; and "/" becomes "_", so every path
/// stays inside the run's own folder instead of reaching the system's files.
std::string confined_word(std::string_view word)
{
    std::string confined;
    int digits = 0;
    for (const char c : word) {
        digits = (c >= '0' && c <= '9') ? digits + 1 : 0;
        if (digits <= 4)
            confined += c == '/' ? '_' : c;
    }
    return confined;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    Vemo::fuzzing::silence_standard_output();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const std::string_view input = Vemo::fuzzing::as_text(bytes, size);
    std::vector<std::string> words{"tonalith"};
    std::string_view content;
    std::size_t start = 0;
    while (start <= input.size()) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        const std::string_view line = input.substr(start, end - start);
        if (line == "--") {
            content = input.substr(std::min(end + 1, input.size()));
            break;
        }
        if (words.size() < 24)
            words.push_back(confined_word(line));
        start = end + 1;
    }

    const Vemo::fuzzing::Fuzz_folder folder;
    for (const char* name : {"in.txt", "in.wav", "in.aiff", "in.syx", "in.ftable"})
        folder.write(name, std::string(content));

    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    char here[4096];
    if (!::getcwd(here, sizeof here) || ::chdir(folder.root.c_str()) != 0)
        return 0;
    {
        Vemo::Ac_application application(static_cast<int>(words.size()), argv.data());
        application.run();
    }
    if (::chdir(here) != 0)
        return 0;
    return 0;
}
