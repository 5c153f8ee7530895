// A cycle that Tonalith writes is read back by Tonalith as one wave: each of
// the tags that say how long its wave is, on its own, gives the whole cycle.

#include "infile/ac_infile_audio.hpp"
#include "infile/wavetable_tags.hpp"
#include "outfile/ac_outfile_audio.hpp"

#include "support/reference_cycles.hpp"
#include "support/sound_files.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <fstream>

namespace Vemo {
namespace {

using testing::Temp_folder;

constexpr std::uint64_t cycle_frames = 2048;

/// `file` without its chunk `id`, the RIFF size set to match: a WAV file as
/// a program that does not know that chunk would save it.
std::string without_chunk(const std::string& file, const std::string& id)
{
    const auto little_endian_32 = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (int k = 3; k >= 0; --k)
            value = value << 8 | static_cast<unsigned char>(file.at(at + k));
        return value;
    };
    std::string kept = file.substr(0, 12);
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::uint32_t size = little_endian_32(at + 4);
        const std::size_t whole = 8 + size + (size & 1);
        if (file.compare(at, 4, id) != 0)
            kept += file.substr(at, whole);
        at += whole;
    }
    const std::uint32_t riff_size = static_cast<std::uint32_t>(kept.size() - 8);
    for (int k = 0; k < 4; ++k)
        kept[4 + k] = static_cast<char>(riff_size >> (8 * k));
    return kept;
}

/// The size of one wave that the tags of the sound file `path` give.
std::uint64_t tagged_size(const std::string& path)
{
    SF_INFO info{};
    SNDFILE* const sound_file = sf_open(path.c_str(), SFM_READ, &info);
    EXPECT_NE(sound_file, nullptr) << sf_strerror(nullptr);
    if (!sound_file)
        return 0;
    const std::uint64_t size = tagged_wave_size(sound_file, static_cast<std::uint64_t>(info.frames));
    sf_close(sound_file);
    return size;
}

TEST(Wavetable_tags, ACycleWeWriteIsOneWaveByEachOfItsTags)
{
    const Temp_folder folder;
    const std::vector<double> cycle = testing::sine_cycle(cycle_frames, {1, 0.5, 0.25});
    for (const std::string name : {"cycle.wav", "cycle.aiff"}) {
        SCOPED_TRACE(name);
        const std::string path = folder.path(name);
        Ac_outfile_audio writer(path);
        ASSERT_TRUE(writer.open() && writer.set_data(cycle.data(), cycle.size()) &&
                    writer.write() && writer.publish())
            << writer.error_message;

        Ac_infile_audio reader(path);
        ASSERT_TRUE(reader.open()) << reader.error_message;
        EXPECT_EQ(reader.wave_count(), 1u);
        EXPECT_EQ(reader.list_waves(), std::vector<std::string>{"Default"});
        ASSERT_TRUE(reader.read()) << reader.error_message;
        EXPECT_EQ(std::vector<double>(reader.data.get(), reader.data.get() + reader.data_size),
                  testing::read_sound(path).samples);
        // A loop over the whole cycle: for AIFF, the loop is its only tag.
        EXPECT_EQ(tagged_size(path), cycle_frames);
    }

    // In WAV the frame size is said twice, and each way is read on its own;
    // without both, nothing says it.
    struct Case {
        std::vector<std::string> removed;
        std::uint64_t size;
    };
    const Case cases[] = {{{"smpl"}, cycle_frames}, {{"clm "}, cycle_frames}, {{"smpl", "clm "}, 0}};
    const std::string path = folder.path("cycle.wav");
    for (const Case& c : cases) {
        std::string file = testing::read_file(path);
        for (const std::string& chunk : c.removed)
            file = without_chunk(file, chunk);
        SCOPED_TRACE("without " + c.removed.back());
        const std::string stripped = folder.path("stripped" + std::to_string(c.removed.size()) +
                                                 c.removed[0].substr(0, 3) + ".wav");
        std::ofstream(stripped, std::ios::binary) << file;
        EXPECT_LT(file.size(), testing::read_file(path).size());
        EXPECT_EQ(tagged_size(stripped), c.size);
        EXPECT_EQ(testing::read_sound(stripped).samples, testing::read_sound(path).samples);
    }
}

}  // namespace
}  // namespace Vemo
