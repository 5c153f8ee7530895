// Feeds arbitrary bytes to the Csound function-table reader as a file.

#include "fuzz/fuzz_support.hpp"
#include "infile/ac_infile_cs_ft.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const Vemo::fuzzing::Fuzz_folder folder;
    Vemo::Ac_infile_cs_ft reader(Vemo::fuzzing::write_input(folder, "in.ftable", bytes, size));
    Vemo::fuzzing::read_values(reader);
    return 0;
}
