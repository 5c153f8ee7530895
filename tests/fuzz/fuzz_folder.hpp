#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Vemo {
class Ac_infile_base;
}

namespace Vemo::fuzzing {

/// A private temporary folder for one fuzz input, removed with everything in
/// it when the object goes.
class Fuzz_folder {
public:
    Fuzz_folder();
    ~Fuzz_folder();
    Fuzz_folder(const Fuzz_folder&) = delete;
    Fuzz_folder& operator=(const Fuzz_folder&) = delete;

    /// Writes `content` to the new file `name`; returns its path.
    std::string write(const std::string& name, std::string_view content) const;

    const std::string path;
};

/// The fuzzer's bytes as text.
inline std::string_view as_text(const std::uint8_t* bytes, std::size_t size)
{
    return {reinterpret_cast<const char*>(bytes), size};
}

/// Opens and reads the reader's file and touches every value delivered, so
/// that a value left unset shows up under the sanitizers.
void read_values(Ac_infile_base& reader);

/// Sends standard output to /dev/null, so the program's reports do not
/// drown the fuzzer's own.
void silence_standard_output();

}  // namespace Vemo::fuzzing
