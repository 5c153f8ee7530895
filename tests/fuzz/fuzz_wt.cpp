// Feeds arbitrary bytes to the .wt reader as a file: opens it, names its
// waves and reads the first and the last, and one beyond them.

#include "fuzz/fuzz_support.hpp"
#include "infile/ac_infile_wt.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const Vemo::fuzzing::Fuzz_folder folder;
    const std::string path = Vemo::fuzzing::write_input(folder, "in.wt", bytes, size);
    Vemo::Ac_infile_wt lister(path);
    if (!lister.open())
        return 0;
    const std::uint64_t waves = lister.wave_count();
    for (std::uint64_t k = 0; k < waves && k < 4; ++k)
        lister.wave_name(k);
    lister.close();

    for (const std::uint64_t n : {std::uint64_t{0}, waves - 1, waves}) {
        Vemo::Ac_infile_wt reader(path);
        reader.select_wave(static_cast<std::uint32_t>(n));
        Vemo::fuzzing::read_values(reader);
    }
    return 0;
}
