// The wave dump writer: synthesis of the stored half cycle from a spectrum,
// normalisation, wave numbers, and its refusals.

#include "outfile/ac_outfile_mw2.hpp"
#include "support/temp_folder.hpp"
#include "support/wave_dump_bytes.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace Vemo::testing {
namespace {

class Outfile_mw2 : public ::testing::Test {
protected:
    Temp_folder folder;
    int files = 0;

    /// Writes `harmonics` as wave `wave_number` to a new file; returns its bytes.
    std::string written(const std::vector<double>& harmonics, std::uint32_t wave_number = 1000)
    {
        const std::string path = folder.path("wave" + std::to_string(files++) + ".syx");
        Ac_outfile_mw2 writer(path);
        EXPECT_TRUE(writer.set_wave_number(wave_number));
        EXPECT_TRUE(writer.open()) << writer.error_message;
        EXPECT_TRUE(writer.set_data(harmonics.data(), harmonics.size()));
        EXPECT_TRUE(writer.write()) << writer.error_message;
        EXPECT_TRUE(writer.message_ready);
        writer.close();
        return read_file(path);
    }

    /// The error message of a write of `harmonics` as wave `wave_number`.
    std::string refusal(const std::vector<double>& harmonics, std::uint32_t wave_number)
    {
        const std::string path = folder.path("refused" + std::to_string(files++) + ".syx");
        Ac_outfile_mw2 writer(path);
        writer.set_wave_number(wave_number);
        EXPECT_TRUE(writer.open());
        writer.set_data(harmonics.data(), harmonics.size());
        EXPECT_FALSE(writer.write());
        EXPECT_FALSE(writer.ok);
        EXPECT_FALSE(writer.message_ready);
        writer.close();
        EXPECT_EQ(read_file(path), "") << "nothing is written for a refused wave";
        return writer.error_message;
    }
};

int code_at(const std::string& file, std::size_t k)
{
    return 16 * static_cast<unsigned char>(file[7 + 2 * k]) +
           static_cast<unsigned char>(file[8 + 2 * k]);
}

TEST_F(Outfile_mw2, StoresUserWave1000UnlessToldOtherwise)
{
    const std::string path = folder.path("default.syx");
    {
        Ac_outfile_mw2 writer(path);
        EXPECT_EQ(writer.wave_number, 1000u);
        const double harmonic = 1.0;
        ASSERT_TRUE(writer.open());
        writer.set_data(&harmonic, 1);
        ASSERT_TRUE(writer.write());
    }
    EXPECT_EQ(read_file(path), wave_dump(1000, one_harmonic_codes, 0x7F, 0x39));
}

TEST_F(Outfile_mw2, NegativeAmplitudeMirrorsTheCodesAroundTheMiddle)
{
    const std::string file = written({-1.0});
    ASSERT_EQ(file.size(), 137u);
    EXPECT_EQ(code_at(file, 0), 0x7D);
    for (std::size_t k = 0; k < 64; ++k)
        EXPECT_EQ(code_at(file, k), 256 - one_harmonic_codes[k]) << k;
}

TEST_F(Outfile_mw2, LevelIsNormalisedAway)
{
    EXPECT_EQ(written({2.0, 1.0}), written({1.0, 0.5}));
    EXPECT_EQ(written({0.003}), wave_dump(1000, one_harmonic_codes, 0x7F, 0x39));
    const std::string file = written({0.2, 0.0, 0.1});
    int largest = 0;
    for (std::size_t k = 0; k < 64; ++k)
        largest = std::max(largest, std::abs(code_at(file, k) - 128));
    EXPECT_EQ(largest, 127);
}

TEST_F(Outfile_mw2, SilentSpectrumGivesSilentWave)
{
    const std::string silent = wave_dump(1000, std::vector<int>(64, 0x80), 0x7F, 0x00);
    EXPECT_EQ(written({}), silent);
    EXPECT_EQ(written({0.0, 0.0, 0.0}), silent);
}

TEST_F(Outfile_mw2, OnlyTheFirst64HarmonicsTakePart)
{
    std::vector<double> harmonics(100, 0.0);
    harmonics[0] = 1.0;
    harmonics[10] = 0.5;
    std::vector<double> first_64(harmonics.begin(), harmonics.begin() + 64);
    for (std::size_t j = 64; j < 100; ++j)
        harmonics[j] = 1.0;
    EXPECT_EQ(written(harmonics), written(first_64));
}

TEST_F(Outfile_mw2, AmplitudesNearTheLargestDoubleGiveTheNormalisedWave)
{
    const double huge = std::numeric_limits<double>::max();
    EXPECT_EQ(written({huge, huge, -huge}), written({1.0, 1.0, -1.0}));
}

TEST_F(Outfile_mw2, RefusesWaveNumbersThatAreNotStorableUserWaves)
{
    struct Case {
        std::uint32_t number;
        std::string message;
    };
    const Case cases[] = {
        {999, "Can't write wave number 999 It's not a user wave. User waves start at 1000."},
        {0, "Can't write wave number 0 It's not a user wave. User waves start at 1000."},
        {16384,
         "Can't write wave number 16384 It doesn't fit into a wave dump. Wave numbers end at "
         "16383."},
        {17384,
         "Can't write wave number 17384 It doesn't fit into a wave dump. Wave numbers end at "
         "16383."},
        {4294967295u,
         "Can't write wave number 4294967295 It doesn't fit into a wave dump. Wave numbers "
         "end at 16383."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(refusal({1.0}, c.number), c.message);
}

TEST_F(Outfile_mw2, RefusesAmplitudesThatAreNotNumbers)
{
    EXPECT_EQ(refusal({1.0, std::numeric_limits<double>::quiet_NaN()}, 1000),
              "Can't write a wave dump to " + folder.path("refused0.syx") +
                  ": harmonic 2 is not a finite number.");
}

}  // namespace
}  // namespace Vemo::testing
