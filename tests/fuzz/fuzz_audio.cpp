// Writes arbitrary bytes to a file and opens it through the audio reader,
// once under a WAV name and once under an AIFF name.

#include "fuzz/fuzz_support.hpp"
#include "infile/ac_infile_audio.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    const Vemo::fuzzing::Fuzz_folder folder;
    for (const char* name : {"in.wav", "in.aiff"}) {
        Vemo::Ac_infile_audio reader(Vemo::fuzzing::write_input(folder, name, bytes, size));
        Vemo::fuzzing::read_values(reader);
    }
    return 0;
}
