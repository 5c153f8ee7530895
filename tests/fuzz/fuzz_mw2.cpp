// Feeds arbitrary bytes to the wave dump reader as a file: opens it, lists
// its waves and reads every one of them, and one beyond the last.

#include "fuzz/fuzz_support.hpp"
#include "infile/ac_infile_mw2.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const Vemo::fuzzing::Fuzz_folder folder;
    const std::string path = Vemo::fuzzing::write_input(folder, "in.syx", bytes, size);
    Vemo::Ac_infile_mw2 lister(path);
    if (!lister.open())
        return 0;
    const std::size_t waves = lister.list_waves().size();
    lister.close();

    for (std::uint32_t n = 0; n <= waves; ++n) {
        Vemo::Ac_infile_mw2 reader(path);
        reader.select_wave(n);
        Vemo::fuzzing::read_values(reader);
    }
    return 0;
}
