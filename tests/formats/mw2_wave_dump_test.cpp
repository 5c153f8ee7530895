// The Microwave II/XT wave dump layout against known byte values: sample
// codes, the built message and its check byte, wave labels, and messages
// found beyond the first 4 GiB of a file.

#include "formats/mw2_wave_dump.hpp"
#include "support/temp_folder.hpp"
#include "support/wave_dump_bytes.hpp"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace Vemo::testing {
namespace {

std::array<double, mw2_stored_samples> samples_of_codes(const std::vector<int>& codes)
{
    std::array<double, mw2_stored_samples> samples{};
    for (std::size_t k = 0; k < mw2_stored_samples; ++k)
        samples[k] = (codes[k] - 128) / 127.0;
    return samples;
}

TEST(Mw2_wave_dump, EncodesSamplesAsOffsetBinaryNibblePairs)
{
    struct Case {
        double x;
        std::uint8_t high;
        std::uint8_t low;
    };
    const Case cases[] = {
        {0.0, 0x08, 0x00}, {1.0, 0x0F, 0x0F}, {-1.0, 0x00, 0x01},
        // 63.5 and -63.5 are rounded away from zero.
        {0.5, 0x0C, 0x00}, {-0.5, 0x04, 0x00},
    };
    for (const Case& c : cases) {
        std::uint8_t bytes[4] = {0xAA, 0xAA, 0xAA, 0xAA};
        mw2_encode_sample(bytes, 1, c.x);
        EXPECT_EQ(bytes[1], c.high) << c.x;
        EXPECT_EQ(bytes[2], c.low) << c.x;
        EXPECT_EQ(bytes[0], 0xAA) << "nothing before the position is touched";
        EXPECT_EQ(bytes[3], 0xAA) << "nothing after the two bytes is touched";
    }
}

TEST(Mw2_wave_dump, DecodesNibblePairsUnscaled)
{
    struct Case {
        std::uint8_t high;
        std::uint8_t low;
        double value;
    };
    const Case cases[] = {
        {0x00, 0x00, -128.0}, {0x08, 0x00, 0.0}, {0x0F, 0x0F, 127.0}, {0x0C, 0x00, 64.0},
        {0x08, 0x03, 3.0},
    };
    for (const Case& c : cases) {
        const std::uint8_t bytes[3] = {0x7F, c.high, c.low};
        EXPECT_EQ(mw2_decode_sample(bytes, 1), c.value);
    }
}

TEST(Mw2_wave_dump, EveryStoredLevelDecodesToItsOwnValue)
{
    for (int q = -127; q <= 127; ++q) {
        std::uint8_t bytes[2] = {};
        mw2_encode_sample(bytes, 0, q / 127.0);
        EXPECT_LE(bytes[0], 0x0F);
        EXPECT_LE(bytes[1], 0x0F);
        EXPECT_EQ(mw2_decode_sample(bytes, 0), q);
    }
}

/// The check byte as a Microwave XT computes it: the low 7 bits of the sum of
/// both nibbles of every sample code.
int sum_of_nibbles(const std::vector<int>& codes)
{
    int sum = 0;
    for (const int code : codes)
        sum += (code >> 4) + (code & 0x0F);
    return sum & 0x7F;
}

TEST(Mw2_wave_dump, BuildsTheKnownMessagesWithTheSumOfAllSampleBytes)
{
    std::vector<int> ramp(64);
    for (std::size_t k = 0; k < ramp.size(); ++k)
        ramp[k] = 0x10 + 3 * static_cast<int>(k);  // ends on CD, a non-zero low nibble
    struct Case {
        std::vector<int> codes;
        int check_byte;
    };
    const Case cases[] = {
        // Ends on 08 03: 3C, where leaving out the last byte would give 39.
        {one_harmonic_codes, 0x3C},
        {std::vector<int>(64, 0x80), 0x00},
        {ramp, sum_of_nibbles(ramp)},
    };
    for (const Case& c : cases) {
        const Mw2_message message = mw2_build_message(1000, samples_of_codes(c.codes));
        EXPECT_EQ(std::string(message.begin(), message.end()),
                  wave_dump(1000, c.codes, 0x7F, c.check_byte))
            << "check byte " << c.check_byte;
    }
}

TEST(Mw2_wave_dump, LabelsRomIllegalAndUserWaves)
{
    struct Case {
        std::uint32_t number;
        std::string label;
    };
    const Case cases[] = {
        {0, " ROM#1"},           {299, " ROM#300"},        {300, " illegal#300"},
        {344, " illegal#344"},   {999, " illegal#999"},    {1000, " USER#1"},
        {1249, " USER#250"},     {16383, " USER#15384"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mw2_wave_label(c.number), c.label);
}

TEST(Mw2_wave_dump, FindsAndDecodesMessagesBeyondFourGibibytes)
{
    // A sparse file maps more than 4 GiB without using that much memory or
    // disk; the message sits past the first 2^32 bytes.
    const Temp_folder folder;
    const std::string path = folder.path("large.syx");
    const std::uint64_t position = (std::uint64_t{1} << 32) + 3;
    const std::string dump = wave_dump(1001, one_harmonic_codes);
    const std::uint64_t size = position + dump.size();
    const int file = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(file, 0);
    ASSERT_EQ(::ftruncate(file, static_cast<off_t>(size)), 0);
    ASSERT_EQ(::pwrite(file, dump.data(), dump.size(), static_cast<off_t>(position)),
              static_cast<ssize_t>(dump.size()));
    void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file, 0);
    ::close(file);
    if (mapped == MAP_FAILED)
        GTEST_SKIP() << "4 GiB cannot be mapped here";
    const auto* bytes = static_cast<const std::uint8_t*>(mapped);

    EXPECT_TRUE(mw2_is_wave_dump(bytes, size, position));
    EXPECT_FALSE(mw2_is_wave_dump(bytes, size, position - (std::uint64_t{1} << 32)));
    EXPECT_FALSE(mw2_is_wave_dump(bytes, position + 134, position));
    EXPECT_EQ(mw2_wave_number(bytes, position), 1001u);
    const std::vector<double> cycle = mw2_decode_cycle(bytes, position);
    EXPECT_EQ(cycle[0], 3.0);
    EXPECT_EQ(cycle[31], 127.0);
    EXPECT_EQ(cycle[127], -3.0);
    ::munmap(mapped, size);
}

}  // namespace
}  // namespace Vemo::testing
