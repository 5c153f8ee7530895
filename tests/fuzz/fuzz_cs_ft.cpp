// Feeds arbitrary bytes to the Csound function-table reader as a file.

#include "fuzz/fuzz_folder.hpp"
#include "infile/ac_infile_cs_ft.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const Vemo::fuzzing::Fuzz_folder folder;
    Vemo::Ac_infile_cs_ft reader(folder.write("in.ftable", Vemo::fuzzing::as_text(bytes, size)));
    Vemo::fuzzing::read_values(reader);
    return 0;
}
