#include "convert/ac_convert_wave_harm.hpp"
#include "support/reference_cycles.hpp"
#include "support/conversion.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace Vemo {
namespace {

std::vector<double> analyse(const std::vector<double>& wave, std::uint64_t size,
                            double threshold = 0.00001)
{
    return testing::converted<Ac_convert_wave_harm>(wave, size, threshold);
}

TEST(Ac_convert_wave_harm, MatchesAnIndependentDft)
{
    for (const std::size_t size : {600u, 63u, 64u, 2048u}) {
        std::mt19937_64 random(size);
        std::uniform_real_distribution<double> sample(-1.0, 1.0);
        std::vector<double> wave(size);
        for (double& v : wave)
            v = sample(random);

        const std::size_t harmonics = size / 2;
        const std::vector<double> reference = testing::dft_spectrum(wave, harmonics);
        const std::vector<double> spectrum = analyse(wave, harmonics, 0.0);
        for (std::size_t i = 0; i < harmonics; ++i)
            EXPECT_NEAR(spectrum[i], reference[i], 1e-12)
                << "size " << size << ", harmonic " << i + 1;
    }
}

TEST(Ac_convert_wave_harm, KnownSpectra)
{
    EXPECT_EQ(analyse(testing::sine_cycle(64, {1}), 8),
              (std::vector<double>{1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(analyse({1, 0, 0, 0}, 2), (std::vector<double>{1, 1}));
}

TEST(Ac_convert_wave_harm, HarmonicsBeyondHalfTheCycleAreSilent)
{
    std::vector<double> wave(64);
    for (int j = 0; j < 64; ++j)
        wave[j] = j % 2 ? -1.0 : 1.0;  // harmonic 32 alone, a real bin
    const std::vector<double> spectrum = analyse(wave, 100);
    for (std::size_t i = 0; i < spectrum.size(); ++i)
        EXPECT_EQ(spectrum[i], i == 31 ? 1.0 : 0.0) << i;
}

TEST(Ac_convert_wave_harm, ThresholdAndOffset)
{
    const std::vector<double> wave = testing::sine_cycle(64, {1, 0.05, 0.1});
    std::vector<double> offset = wave;
    for (double& value : offset)
        value += 0.75;
    const std::vector<double> spectrum = analyse(wave, 3, 0.1 - 1e-12);
    EXPECT_EQ(spectrum[1], 0.0);
    EXPECT_NEAR(spectrum[2], 0.1, 1e-12);

    const std::vector<double> plain = analyse(wave, 8), shifted = analyse(offset, 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(plain[i], shifted[i], 1e-12);
}

TEST(Ac_convert_wave_harm, AWaveNearTheLargestDoubleHasTheSpectrumOfTheSameWaveAtScaleOne)
{
    // Peak 1.89: times 2^1023 it reaches 1.7e308, where the transform's sums
    // would overflow.
    std::vector<double> wave = testing::sine_cycle(600, testing::saw_amplitudes(20));
    for (double& value : wave)
        value *= 1.89;
    std::vector<double> huge = wave;
    for (double& value : huge)
        value = std::ldexp(value, 1023);
    EXPECT_EQ(analyse(huge, 32), analyse(wave, 32));
}

TEST(Ac_convert_wave_harm, WavesWithoutHarmonicsGiveSilence)
{
    for (const std::vector<double>& wave :
         {std::vector<double>{}, {0.7}, {0.5, 0.5, 0.5, 0.5}, {0, 0, 0}})
        EXPECT_EQ(analyse(wave, 4), std::vector<double>(4, 0.0)) << wave.size();
}

TEST(Ac_convert_wave_harm, BudgetsWhatTheTransformTakes)
{
    // The most that planning and executing the transform took with FFTW
    // 3.3.10 (the larger growth of VmPeak and VmHWM). Less would let FFTW
    // abort the program; much more refuses runs that would fit.
    struct Case {
        std::uint64_t samples;
        std::uint64_t peak;
        double most;
    };
    const Case cases[] = {
        {1024, 2473984, 1.25},       // the fixed part
        {2352, 2416640, 1.25},       // 2^4 3 7^2
        {531441, 15196160, 1.25},    // 3^12: full twiddles
        {1048576, 20373504, 1.25},   // 2^20
        {4941258, 121163776, 1.25},  // 2 3 7^7: full twiddles
        {10000000, 175861760, 1.25},
        {1711846, 83529728, 2},      // 2 855923
        {3187459, 81608704, 2},      // 11 19 101 151
        {622709, 60530688, 2},       // a prime: its convolution padded to 1250000
        {974401, 55738368, 2},       // a prime: its convolution of p - 1 samples
    };
    const Ac_convert_wave_harm converter(64);
    for (const Case& c : cases) {
        const std::uint64_t copies = 8 * c.samples + 8 * 64;
        const std::uint64_t analysis =
            converter.memory_needed(std::vector<std::uint64_t>{c.samples}) - copies;
        EXPECT_GE(analysis, c.peak) << c.samples << " samples";
        EXPECT_LE(static_cast<double>(analysis), c.most * static_cast<double>(c.peak))
            << c.samples << " samples";
    }
}

}  // namespace
}  // namespace Vemo
