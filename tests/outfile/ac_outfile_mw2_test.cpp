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

    /// Writes `harmonics` as wave 1000 to a new file; returns its bytes.
    std::string written(const std::vector<double>& harmonics)
    {
        const std::string path = folder.path("wave" + std::to_string(files++) + ".syx");
        Ac_outfile_mw2 writer(path);
        EXPECT_TRUE(writer.open()) << writer.error_message;
        EXPECT_TRUE(writer.set_data(harmonics.data(), harmonics.size()));
        EXPECT_TRUE(writer.write()) << writer.error_message;
        EXPECT_TRUE(writer.message_ready);
        EXPECT_TRUE(writer.publish()) << writer.error_message;
        return read_file(path);
    }

    /// The error message of a write of one harmonic as wave `wave_number`.
    std::string refusal(std::uint32_t wave_number)
    {
        const std::string path = folder.path("refused" + std::to_string(files++) + ".syx");
        Ac_outfile_mw2 writer(path);
        writer.set_wave_number(wave_number);
        EXPECT_TRUE(writer.open());
        const double harmonic = 1.0;
        writer.set_data(&harmonic, 1);
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

TEST_F(Outfile_mw2, StoresTheShapeOfTheFirst64HarmonicsAtFullScale)
{
    const double huge = std::numeric_limits<double>::max();
    std::vector<double> first_64(64, 0.0);
    first_64[0] = 1.0;
    first_64[10] = 0.5;
    std::vector<double> beyond_64 = first_64;
    beyond_64.resize(100, 1.0);
    // Pairs that must give the same message: the level is normalised away,
    // sums near the largest double do not overflow, harmonics beyond 64 take
    // no part, and silence stays silent.
    const std::pair<std::vector<double>, std::vector<double>> same[] = {
        {{2.0, 1.0}, {1.0, 0.5}},
        {{huge, huge, -huge}, {1.0, 1.0, -1.0}},
        {beyond_64, first_64},
        {{0.0, 0.0, 0.0}, {}},
    };
    for (const auto& [spectrum, equal] : same)
        EXPECT_EQ(written(spectrum), written(equal)) << spectrum.size() << " harmonics";
    EXPECT_EQ(written({0.003}), wave_dump(1000, one_harmonic_codes, 0x7F, 0x3C));
    EXPECT_EQ(written({}), silent_wave_dump(1000));
}

TEST_F(Outfile_mw2, NegativeAmplitudeMirrorsTheCodesAroundTheMiddle)
{
    const std::string file = written({-1.0});
    ASSERT_EQ(file.size(), 137u);
    EXPECT_EQ(code_at(file, 0), 0x7D);
    for (std::size_t k = 0; k < 64; ++k)
        EXPECT_EQ(code_at(file, k), 256 - one_harmonic_codes[k]) << k;
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
        EXPECT_EQ(refusal(c.number), c.message);
}

}  // namespace
}  // namespace Vemo::testing
