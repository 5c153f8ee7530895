#include "outfile/ac_outfile_audio.hpp"

#include "support/reference_cycles.hpp"
#include "support/sound_files.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sndfile.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace Vemo {
namespace {

using testing::file_exists;

/// The descriptor number that the next file opened will get.
int next_descriptor()
{
    const int probe = ::open("/dev/null", O_RDONLY);
    ::close(probe);
    return probe;
}
using testing::Temp_folder;

/// The unsigned number of `width` bytes at `offset`, in the given byte order.
std::uint32_t number_at(const std::string& bytes, std::size_t offset, int width, bool big_endian)
{
    std::uint32_t value = 0;
    for (int k = 0; k < width; ++k) {
        const int byte = big_endian ? k : width - 1 - k;
        value = value << 8 | static_cast<unsigned char>(bytes.at(offset + byte));
    }
    return value;
}

/// The chunks of a RIFF (WAV) or FORM (AIFF) file, id to the bodies of that
/// id in file order, walked by the sizes in the file; the outer size must
/// cover the file exactly.
std::map<std::string, std::vector<std::string>> chunks_of(const std::string& file)
{
    const bool big_endian = file.substr(0, 4) == "FORM";
    EXPECT_EQ(number_at(file, 4, 4, big_endian) + 8, file.size());
    std::map<std::string, std::vector<std::string>> chunks;
    for (std::size_t at = 12; at + 8 <= file.size();) {
        const std::uint32_t size = number_at(file, at + 4, 4, big_endian);
        EXPECT_LE(at + 8 + size, file.size()) << "chunk " << file.substr(at, 4);
        chunks[file.substr(at, 4)].push_back(file.substr(at + 8, size));
        at += 8 + size + (size & 1);
    }
    return chunks;
}

std::vector<std::string> ids_of(const std::map<std::string, std::vector<std::string>>& chunks)
{
    std::vector<std::string> ids;
    for (const auto& [id, bodies] : chunks)
        ids.insert(ids.end(), bodies.size(), id);
    return ids;
}

/// A cycle to write and the root note its header must carry.
struct Looped_cycle {
    std::uint32_t sample_rate;
    std::uint32_t frames;
    int note;
    int cents;
};

/// The chunks of the writer's file for `cycle`. Every chunk that libsndfile
/// alone writes for the same values, as audio output was written before it
/// carried a loop, must stand in it unchanged: the format with the frame
/// count and the rate, and the samples.
std::map<std::string, std::vector<std::string>> written_chunks(const std::string& name,
                                                               const Looped_cycle& cycle)
{
    const Temp_folder folder;
    const std::vector<double> values = testing::sine_cycle(cycle.frames, {1, 0.3});
    Ac_outfile_audio writer(folder.path(name));
    writer.sample_rate = cycle.sample_rate;
    EXPECT_TRUE(writer.open() && writer.set_data(values.data(), values.size()) &&
                writer.write() && writer.publish())
        << writer.error_message;
    const int container = name.ends_with(".wav") ? SF_FORMAT_WAV : SF_FORMAT_AIFF;
    const std::string plain =
        testing::write_sound(folder.path("plain-" + name), container | SF_FORMAT_PCM_16, 1,
                             static_cast<int>(cycle.sample_rate), values);
    const auto chunks = chunks_of(testing::read_file(folder.path(name)));
    for (const auto& [id, bodies] : chunks_of(testing::read_file(plain))) {
        const auto found = chunks.find(id);
        EXPECT_TRUE(found != chunks.end() && found->second == bodies)
            << id << " differs for " << cycle.frames << " frames";
    }
    return chunks;
}

TEST(Ac_outfile_audio, WavHeaderLoopsTheWholeCycleAtItsRootNote)
{
    const Looped_cycle cycles[] = {
        {44100, 2048, 16, 77}, {48000, 601, 39, 46}, {44000, 100, 69, 0}};
    for (const Looped_cycle& c : cycles) {
        const auto chunks = written_chunks("cycle.wav", c);
        // No cue points: some wavetable synths would take them for slices.
        ASSERT_EQ(ids_of(chunks), (std::vector<std::string>{"clm ", "data", "fmt ", "smpl"}))
            << c.frames;

        const std::string& sampler = chunks.at("smpl")[0];
        ASSERT_EQ(sampler.size(), 60u) << c.frames;
        const auto field = [&](int index) { return number_at(sampler, 4 * index, 4, false); };
        EXPECT_EQ(field(3), static_cast<std::uint32_t>(c.note)) << c.frames;
        // The fraction counts in units of 1/2^32 of a semitone.
        EXPECT_EQ(std::lround(field(4) * 100.0 / 4294967296.0), c.cents) << c.frames;
        EXPECT_EQ(field(7), 1u) << "one loop";
        EXPECT_EQ(field(10), 0u) << "forward";
        EXPECT_EQ(field(11), 0u) << "from the first frame";
        EXPECT_EQ(field(12), c.frames - 1) << "to the last frame";
        EXPECT_EQ(field(14), 0u) << "endlessly";

        const std::string& frame_size = chunks.at("clm ")[0];
        const std::string text =
            "<!>" + std::to_string(c.frames) + " 00000000 wavetable (Tonalith)";
        EXPECT_EQ(frame_size.substr(0, text.size()), text);
        EXPECT_EQ(frame_size.find_first_not_of('\0', text.size()), std::string::npos)
            << "only zeros pad the text";
    }
}

TEST(Ac_outfile_audio, AiffHeaderLoopsTheWholeCycleBetweenTwoMarkers)
{
    const Looped_cycle cycles[] = {
        {44100, 2048, 17, -23}, {48000, 601, 39, 46}, {8000, 1000, 0, -38}};
    for (const Looped_cycle& c : cycles) {
        const auto chunks = written_chunks("cycle.aiff", c);
        ASSERT_EQ(ids_of(chunks), (std::vector<std::string>{"COMM", "INST", "MARK", "SSND"}))
            << c.frames;

        // Big-endian: the count, then each marker's id, position and empty
        // name (count byte and pad byte); libsndfile pads the chunk to 20.
        const auto n = [&](int shift) { return static_cast<char>(c.frames >> shift); };
        EXPECT_EQ(chunks.at("MARK")[0], std::string({0, 2, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2, n(24),
                                                     n(16), n(8), n(0), 0, 0, 0, 0}))
            << c.frames;
        // Note, detune, keys 0-127, velocities 1-127, gain 0, sustain loop
        // forward from marker 1 to 2, release loop none.
        EXPECT_EQ(chunks.at("INST")[0],
                  std::string({static_cast<char>(c.note), static_cast<char>(c.cents), 0, 127, 1,
                               127, 0, 0, 0, 1, 0, 1, 0, 2, 0, 0, 0, 0, 0, 0}))
            << c.frames;
    }
}

const std::string wrong_name_message =
    "Audio output can only be written in wav and aiff format. "
    "Filenames should end in .wav, .aif or .aiff.";

TEST(Ac_outfile_audio, WrongNameMakesTheWriterUnusable)
{
    const Temp_folder folder;
    Ac_outfile_audio writer(folder.path("cycle.wave"));
    EXPECT_FALSE(writer.open());
    EXPECT_FALSE(writer.ok);
    EXPECT_EQ(writer.error_message, wrong_name_message);
    EXPECT_FALSE(file_exists(folder.path("cycle.wave")));

    const double values[] = {0.5};
    ASSERT_TRUE(writer.set_data(values, 1));
    EXPECT_FALSE(writer.open());
    EXPECT_FALSE(writer.write());
    EXPECT_EQ(writer.error_message, wrong_name_message);
}

TEST(Ac_outfile_audio, WriteNeedsDataThenAnOpenFile)
{
    const Temp_folder folder;
    const std::string path = folder.path("cycle.wav");
    Ac_outfile_audio writer(path);
    EXPECT_FALSE(writer.write());
    EXPECT_EQ(writer.error_message, "There is no data to write to file.");
    EXPECT_TRUE(writer.ok);

    const double values[] = {0.5, -0.5};
    ASSERT_TRUE(writer.set_data(values, 2));
    EXPECT_FALSE(writer.write());
    EXPECT_EQ(writer.error_message, path + "Has not been opened for output yet.");
    EXPECT_TRUE(writer.ok);
    EXPECT_FALSE(file_exists(path));

    ASSERT_TRUE(writer.open());
    EXPECT_TRUE(writer.write());
}

TEST(Ac_outfile_audio, CloseCompletesTheFileAndMayBeRepeated)
{
    const Temp_folder folder;
    const std::string path = folder.path("cycle.aiff");
    Ac_outfile_audio writer(path);
    writer.close();
    writer.sample_rate = 22050;
    const int descriptor = next_descriptor();
    ASSERT_TRUE(writer.open());
    EXPECT_TRUE(writer.open());
    const double values[] = {0.25, -0.25, 1.0};
    ASSERT_TRUE(writer.set_data(values, 3));
    ASSERT_TRUE(writer.write());
    ASSERT_TRUE(writer.publish()) << writer.error_message;
    EXPECT_EQ(::fcntl(descriptor, F_GETFD), -1) << "the file's descriptor is still open";
    writer.close();
    EXPECT_FALSE(writer.is_open);

    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    short levels[3] = {};
    EXPECT_EQ(sf_readf_short(file, levels, 3), 3);
    sf_close(file);
    EXPECT_EQ(info.format, SF_FORMAT_AIFF | SF_FORMAT_PCM_16);
    EXPECT_EQ(info.samplerate, 22050);
    EXPECT_EQ(info.channels, 1);
    EXPECT_EQ(info.frames, 3);
    EXPECT_EQ(levels[0], 8192);
    EXPECT_EQ(levels[1], -8192);
    EXPECT_EQ(levels[2], 32767);
}

TEST(Ac_outfile_audio, RefusedHeaderLeavesTheDescriptorToLibsndfile)
{
    const Temp_folder folder;
    const std::string path = folder.path("cycle.wav");
    const int expected_descriptor = next_descriptor();
    ASSERT_GE(expected_descriptor, 0);
    {
        Ac_outfile_audio writer(path);
        writer.sample_rate = 0;
        EXPECT_FALSE(writer.open());
        EXPECT_EQ(writer.error_message, "Internal error : SF_INFO struct incomplete.");
        EXPECT_FALSE(writer.ok);
        EXPECT_FALSE(writer.is_open);
        // libsndfile has closed the file's descriptor: nothing leaks.
        EXPECT_EQ(::fcntl(expected_descriptor, F_GETFD), -1);

        // The number is now reused; the writer must not close it a second time.
        const int other = ::open("/dev/null", O_RDONLY);
        ASSERT_EQ(other, expected_descriptor);
        writer.close();
        writer.remove_created_file();
        EXPECT_FALSE(file_exists(path));
    }
    EXPECT_NE(::fcntl(expected_descriptor, F_GETFD), -1);
    ::close(expected_descriptor);
}

}  // namespace
}  // namespace Vemo
