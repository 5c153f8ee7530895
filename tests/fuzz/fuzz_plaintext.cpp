// Feeds arbitrary bytes to the plain text reader as a file.

#include "fuzz/fuzz_support.hpp"
#include "infile/ac_infile_plaintext.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const Vemo::fuzzing::Fuzz_folder folder;
    Vemo::Ac_infile_plaintext reader(Vemo::fuzzing::write_input(folder, "in.txt", bytes, size));
    Vemo::fuzzing::read_values(reader);
    return 0;
}
