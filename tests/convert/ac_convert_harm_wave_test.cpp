#include "convert/ac_convert_harm_wave.hpp"
#include "support/conversion.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace Vemo {
namespace {

std::vector<double> synthesise(const std::vector<double>& amplitudes, std::uint64_t size,
                               double threshold = 0.00001)
{
    return testing::converted<Ac_convert_harm_wave>(amplitudes, size, threshold);
}

TEST(Ac_convert_harm_wave, MatchesTheDirectSumBitForBit)
{
    // The reference is written out here on its own, term by term, so that any
    // reordering or fused multiply-add in the converter shows up in the last bit.
    const std::vector<double> amplitudes{1.0, -0.5, 0.3333333333333333, 0.0, 0.2, 1e-6, 0.125};
    // A power of two is divided by in another way than other sizes.
    for (const std::uint64_t size : {600u, 1024u}) {
        std::vector<double> reference(size);
        double peak = 0.0;
        for (std::uint64_t j = 0; j < size; ++j) {
            double s = 0.0;
            for (std::size_t k = 0; k < amplitudes.size(); ++k) {
                if (!(std::fabs(amplitudes[k]) > 0.00001))
                    continue;
                volatile double x = static_cast<double>(j) * 6.283185307179586;
                x = x * static_cast<double>(k + 1);
                x = x / static_cast<double>(size);
                volatile double term = amplitudes[k] * std::sin(x);
                s = s + term;
            }
            reference[j] = s;
            peak = std::max(peak, std::fabs(s));
        }
        const std::vector<double> wave = synthesise(amplitudes, size);
        ASSERT_EQ(wave.size(), size);
        for (std::uint64_t j = 0; j < size; ++j) {
            const double expected = reference[j] / peak;
            EXPECT_EQ(std::memcmp(&wave[j], &expected, sizeof expected), 0)
                << size << " samples, sample " << j << ": " << wave[j] << " vs " << expected;
        }
    }
}

TEST(Ac_convert_harm_wave, AnyNumberOfThreadsGivesTheSameBits)
{
    std::vector<double> amplitudes;
    for (int h = 1; h <= 40; ++h)
        amplitudes.push_back(h % 7 == 0 ? 1e-6 : (h % 2 ? 1.0 : -1.0) / h);
    // Fewer samples than one thread's share, and many shares of uneven size.
    for (const std::uint64_t size : {5u, 1000u}) {
        std::vector<double> alone(size);
        const Sine_sum sines(amplitudes.data(), amplitudes.size(), 0.00001, size, 0.0);
        sum_sines({&sines, 1}, alone.data(), size, 1);
        for (const unsigned threads : {2u, 3u, 7u}) {
            std::vector<double> shared(size, -1.0);
            sum_sines({&sines, 1}, shared.data(), size, threads);
            EXPECT_EQ(std::memcmp(alone.data(), shared.data(), size * sizeof(double)), 0)
                << size << " samples, " << threads << " threads";
        }
    }
}

TEST(Ac_convert_harm_wave, KnownCycles)
{
    struct Case {
        std::vector<double> amplitudes;
        std::uint64_t size;
        std::vector<double> wave;
    };
    const Case cases[] = {
        {{0, 1}, 8, {0, 1, 0, -1, 0, 1, 0, -1}},
        {{-2}, 4, {0, -1, 0, 1}},
        // The second harmonic is not above the threshold: a pure sine remains.
        {{1, 0.00001}, 4, {0, 1, 0, -1}},
    };
    for (const Case& c : cases) {
        const std::vector<double> wave = synthesise(c.amplitudes, c.size);
        ASSERT_EQ(wave.size(), c.wave.size());
        EXPECT_EQ(wave[0], 0.0);
        for (std::size_t j = 0; j < wave.size(); ++j)
            EXPECT_NEAR(wave[j], c.wave[j], 1e-15) << j;
    }
}

TEST(Ac_convert_harm_wave, SilentSpectraGiveSilentWaves)
{
    const std::vector<std::vector<double>> spectra{{}, {0, 0}, {0.00001, -0.000005}};
    for (const std::vector<double>& spectrum : spectra)
        EXPECT_EQ(synthesise(spectrum, 4), std::vector<double>(4, 0.0));
}

TEST(Ac_convert_harm_wave, RefusesNonFiniteValues)
{
    Ac_convert_harm_wave converter(8, 0.00001);
    const double infinite[] = {1.0, INFINITY};
    converter.set_input(infinite, 2);
    EXPECT_FALSE(converter.ok);
    EXPECT_EQ(converter.error_message, "The input holds a value that is not a finite number.");
    EXPECT_FALSE(converter.convert());
}

/// A spectrum of the harmonics `numbers` with the amplitudes `amplitudes`.
std::vector<double> harmonics(const std::vector<std::uint64_t>& numbers,
                              const std::vector<double>& amplitudes)
{
    std::vector<double> spectrum(numbers.back(), 0.0);
    for (std::size_t i = 0; i < numbers.size(); ++i)
        spectrum[numbers[i] - 1] = amplitudes[i];
    return spectrum;
}

TEST(Ac_convert_harm_wave, RoundingResidueIsSilence)
{
    struct Case {
        std::vector<std::uint64_t> numbers;
        std::vector<double> amplitudes;
        std::uint64_t size;
        bool silent;
    };
    const Case cases[] = {
        // On the zeros of the sine at every sample, or cancelling as h and N - h.
        {{3}, {1.0}, 6, true},
        {{5}, {-2.0}, 10, true},
        {{3, 13}, {1.0, 1.0}, 16, true},
        {{1000, 64536}, {0.5, 0.5}, 65536, true},
        {{3, 13}, {1.0, 1.0 - std::ldexp(1.0, -46)}, 16, true},
        // A little more than rounding error is a wave.
        {{3, 13}, {1.0, 1.0 - std::ldexp(1.0, -40)}, 16, false},
        {{3}, {1.0}, 7, false},
    };
    for (const Case& c : cases) {
        const std::vector<double> wave = synthesise(harmonics(c.numbers, c.amplitudes), c.size);
        double peak = 0.0;
        for (const double sample : wave)
            peak = std::max(peak, std::fabs(sample));
        EXPECT_EQ(peak, c.silent ? 0.0 : 1.0) << c.numbers.back() << " at " << c.size;
    }
}

TEST(Ac_convert_harm_wave, SpectraAPowerOfTwoApartGiveTheSameWave)
{
    // Summed at their own level, the products of the small pair fall below
    // the smallest normal double at some samples.
    EXPECT_EQ(synthesise({std::ldexp(0.3, -1015), 0.0, std::ldexp(-0.7, -1015)}, 600, 0.0),
              synthesise({0.3, 0.0, -0.7}, 600, 0.0));
}

}  // namespace
}  // namespace Vemo
