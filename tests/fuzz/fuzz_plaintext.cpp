// Feeds arbitrary bytes to the plain text reader as a file.

#include "fuzz/fuzz_folder.hpp"
#include "infile/ac_infile_plaintext.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const Vemo::fuzzing::Fuzz_folder folder;
    Vemo::Ac_infile_plaintext reader(folder.write("in.txt", Vemo::fuzzing::as_text(bytes, size)));
    Vemo::fuzzing::read_values(reader);
    return 0;
}
