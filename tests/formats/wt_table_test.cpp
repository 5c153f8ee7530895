// The .wt wavetable layout: the header both ways, the three sample codings,
// the levels written (those of 16-bit audio output), and the shapes a
// written file may have.

#include "formats/wt_table.hpp"
#include "support/sound_files.hpp"
#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace Vemo::testing {
namespace {

TEST(wt_header, IsMagicSizeCountAndFlagsLittleEndian)
{
    const std::array<std::uint8_t, 12> bytes = {'v',  'a',  'w',  't',  0x00, 0x08,
                                                0x01, 0x00, 0x01, 0x02, 0x0C, 0x00};
    EXPECT_TRUE(wt_has_magic(bytes.data()));
    const Wt_header fields{0x10800, 0x0201, 0x000C};
    EXPECT_EQ(wt_decode_header(bytes.data()), fields);
    EXPECT_EQ(wt_encode_header(fields), bytes);
    for (const char* wrong : {"VAWT", "vawx", "wavt"})
        EXPECT_FALSE(wt_has_magic(reinterpret_cast<const std::uint8_t*>(wrong))) << wrong;
}

TEST(wt_decode_sample, ScalesEachCoding)
{
    struct Case {
        std::uint16_t flags;
        std::vector<std::uint8_t> bytes;
        double value;
    };
    const double infinity = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {0x0000, {0x00, 0x00, 0x80, 0x3F}, 1.0},
        {0x0000, {0x00, 0x00, 0x40, 0xBE}, -0.1875},
        {0x0000, {0x00, 0x00, 0x80, 0x7F}, infinity},
        // 0x08 without 0x04 changes nothing: floats have no range.
        {0x0008, {0x00, 0x00, 0x80, 0x3F}, 1.0},
        {0x0004, {0x00, 0x40}, 1.0},
        {0x0004, {0xFF, 0x7F}, 32767.0 / 16384},
        {0x0004, {0x00, 0x80}, -2.0},
        {0x0014, {0x00, 0xE0}, -0.5},
        {0x000C, {0x00, 0x40}, 0.5},
        {0x000C, {0x00, 0x80}, -1.0},
        {0x000F, {0xFF, 0x7F}, 32767.0 / 32768},
        {0x001C, {0x01, 0x00}, 1.0 / 32768},
    };
    for (const Case& c : cases) {
        const Wt_coding coding = wt_coding(c.flags);
        EXPECT_EQ(wt_sample_bytes(coding), c.bytes.size()) << c.flags;
        EXPECT_EQ(wt_decode_sample(c.bytes.data(), coding), c.value) << c.flags;
    }
    const std::uint8_t nan[] = {0x00, 0x00, 0xC0, 0x7F};
    EXPECT_TRUE(std::isnan(wt_decode_sample(nan, Wt_coding::float32)));
}

TEST(wt_full_range_level, IsTheLevelThat16BitWavOutputStores)
{
    // Ties (k + 0.5) / 32767 and values around them, against what libsndfile
    // writes for the same doubles.
    std::vector<double> values = {0.0, 1.0, -1.0, 0.5, -0.5, 1e-9, -1e-9};
    for (int k = -40; k <= 40; ++k)
        for (const double offset : {0.5, 0.4999999, 0.5000001})
            values.push_back((k + offset) / 32767.0);
    for (int k = 0; k < 1000; ++k)
        values.push_back(std::sin(0.001 * k * k));
    Temp_folder folder;
    const Sound sound = read_sound(
        write_sound(folder.path("levels.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 44100, values));
    ASSERT_EQ(sound.samples.size(), values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(static_cast<double>(wt_full_range_level(values[i])), sound.samples[i] * 32768)
            << values[i];
        std::uint8_t bytes[2];
        wt_encode_sample(bytes, values[i]);
        EXPECT_EQ(wt_decode_sample(bytes, Wt_coding::int16_full_range), sound.samples[i]);
    }
}

TEST(wt_full_range_level, HoldsValuesBeyondFullScaleAtTheEnds)
{
    const double infinity = std::numeric_limits<double>::infinity();
    // -1.00001 is still -32767 once rounded; -1.0001 is beyond the lowest level.
    const std::pair<double, int> cases[] = {
        {1.5, 32767},      {1.00001, 32767},   {infinity, 32767},  {-1.0, -32767},
        {-1.00001, -32767}, {-1.0001, -32768}, {-1.5, -32768},     {-infinity, -32768},
        {std::nan(""), 0},
    };
    for (const auto& [value, level] : cases)
        EXPECT_EQ(wt_full_range_level(value), level) << value;
}

TEST(wt_table_writable, TakesPowersOfTwoFrom2To4096AndUpTo512Waves)
{
    const std::tuple<std::uint64_t, std::uint64_t, bool> cases[] = {
        {1, 2048, true},   {512, 2048, true},  {513, 2048, false}, {0, 2048, false},
        {1, 2, true},      {1, 4096, true},    {1, 8192, false},   {1, 1, false},
        {1, 0, false},     {1, 3, false},      {1, 2047, false},   {1, 1536, false},
        {1u << 20, 1u << 11, false},            {1, (1ull << 32) + 2048, false},
    };
    for (const auto& [waves, size, writable] : cases)
        EXPECT_EQ(wt_table_writable(waves, size), writable) << waves << " x " << size;
}

}  // namespace
}  // namespace Vemo::testing
