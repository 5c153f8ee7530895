#pragma once

#include "support/temp_folder.hpp"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace Vemo {
class Ac_infile_base;
}

namespace Vemo::fuzzing {

/// Each fuzz input gets a private temporary folder of its own.
using Fuzz_folder = testing::Temp_folder;

/// The fuzzer's bytes as text.
inline std::string_view as_text(const std::uint8_t* bytes, std::size_t size)
{
    return {reinterpret_cast<const char*>(bytes), size};
}

/// Writes the fuzzer's bytes to the new file `name` in `folder`; returns its path.
inline std::string write_input(const Fuzz_folder& folder, const std::string& name,
                               const std::uint8_t* bytes, std::size_t size)
{
    return folder.write(name, std::string(as_text(bytes, size)));
}

/// Opens and reads the reader's file and touches every value delivered, so
/// that a value left unset shows up under the sanitizers.
void read_values(Ac_infile_base& reader);

/// Sends standard output to /dev/null, so the program's reports do not
/// drown the fuzzer's own.
void silence_standard_output();

}  // namespace Vemo::fuzzing
