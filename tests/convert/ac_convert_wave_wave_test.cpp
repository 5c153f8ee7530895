#include "convert/ac_convert_wave_wave.hpp"
#include "support/reference_cycles.hpp"
#include "support/conversion.hpp"
#include "support/sound_files.hpp"

#include <gtest/gtest.h>
#include <samplerate.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace Vemo {
namespace {

using testing::saw_amplitudes;
using testing::sine_cycle;

/// One cycle of a band-limited saw of 20 harmonics, normalised to a peak of 1.
std::vector<double> ideal_saw(std::uint64_t size) { return sine_cycle(size, saw_amplitudes(20)); }

std::vector<double> resize(const std::vector<double>& wave, std::uint64_t size)
{
    return testing::converted<Ac_convert_wave_wave>(wave, size);
}

double largest_difference(const std::vector<double>& a, const std::vector<double>& b)
{
    double largest = 0.0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        largest = std::max(largest, std::fabs(a[i] - b[i]));
    return largest;
}

TEST(Ac_convert_wave_wave, ResizesACycleAsAPeriodicSignal)
{
    struct Case {
        std::uint64_t from, to;
        double tolerance;
    };
    // The first two are the exacting cases; the others are sizes where a
    // resampler that is handed a single cycle delivers fewer samples than asked.
    const Case cases[] = {
        {64, 128, 1e-6}, {2048, 64, 1e-6}, {64, 1000, 1e-5}, {256, 600, 1e-5}, {65536, 256, 1e-5},
    };
    for (const Case& c : cases) {
        const std::vector<double> wave = resize(ideal_saw(c.from), c.to);
        ASSERT_EQ(wave.size(), c.to);
        EXPECT_LT(largest_difference(wave, ideal_saw(c.to)), c.tolerance)
            << c.from << " to " << c.to;
        EXPECT_LT(std::fabs(wave[0]), c.tolerance) << c.from << " to " << c.to;
        EXPECT_EQ(*std::max_element(wave.begin(), wave.end(),
                                    [](double a, double b) { return std::fabs(a) < std::fabs(b); }),
                  1.0);
    }
}

TEST(Ac_convert_wave_wave, MoreCopiesChangeNothingButRounding)
{
    const std::vector<double> saw = ideal_saw(600);
    for (const std::uint64_t size : {128u, 2048u}) {
        const std::uint64_t copies = copies_for_resampling(saw.size(), size);
        std::vector<double> enough(size), more(size);
        ASSERT_EQ(resample_cycle(saw.data(), saw.size(), enough.data(), size, copies, 0), 0);
        ASSERT_EQ(resample_cycle(saw.data(), saw.size(), more.data(), size, copies + 4, 0), 0);
        EXPECT_LT(largest_difference(enough, more), 1e-6) << size;
    }
}

TEST(Ac_convert_wave_wave, StoppingAfterTheMiddleCopyChangesNoBit)
{
    // The reference resamples every copy to the end, as the resampler is
    // normally asked to, and keeps the middle one.
    const std::vector<double> saw = ideal_saw(600);
    for (const std::uint64_t size : {64u, 600u, 2048u}) {
        const std::uint64_t copies = copies_for_resampling(saw.size(), size);
        std::vector<float> cycles(copies * saw.size());
        for (std::size_t i = 0; i < cycles.size(); ++i)
            cycles[i] = static_cast<float>(saw[i % saw.size()]);
        std::vector<float> all(copies * size, 0.0f);
        SRC_DATA request{};
        request.data_in = cycles.data();
        request.data_out = all.data();
        request.input_frames = static_cast<long>(cycles.size());
        request.output_frames = static_cast<long>(all.size());
        request.src_ratio = static_cast<double>(size) / static_cast<double>(saw.size());
        ASSERT_EQ(src_simple(&request, SRC_SINC_BEST_QUALITY, 1), 0);

        const auto middle = all.begin() + static_cast<long>((copies - 1) / 2 * size);
        const std::vector<double> expected(middle, middle + static_cast<long>(size));
        std::vector<double> wave(size);
        ASSERT_EQ(resample_cycle(saw.data(), saw.size(), wave.data(), size, copies, 0), 0);
        EXPECT_EQ(std::memcmp(wave.data(), expected.data(), size * sizeof(double)), 0) << size;
    }
}

TEST(Ac_convert_wave_wave, EqualSizesStillNormalise)
{
    const std::vector<double> half = {0.0, 0.5, 0.0, -0.5, 0.0, 0.5, 0.0, -0.5};
    const std::vector<double> wave = resize(half, 8);
    for (std::size_t j = 0; j < wave.size(); ++j)
        EXPECT_NEAR(wave[j], half[j] * 2, 1e-6) << j;
}

TEST(Ac_convert_wave_wave, EqualSizesKeepTheCycleBitForBit)
{
    // Through the resampler, harmonic 290 of this saw kept 0.44 of its level.
    const std::vector<double> saw =
        testing::read_sound(TONALITH_TEST_DATA "/akwf/AKWF_bw_perfectwaves/AKWF_saw.wav").samples;
    double peak = 0.0;
    for (const double sample : saw)
        peak = std::max(peak, std::fabs(sample));
    std::vector<double> expected;
    for (const double sample : saw)
        expected.push_back(sample / peak);
    EXPECT_EQ(resize(saw, saw.size()), expected);
}

TEST(Ac_convert_wave_wave, KeepingTheSizeBudgetsNoResampler)
{
    // The copy of the input and the output, and nothing for a resampler that
    // the cycle never reaches; a run that fits must not be refused.
    const std::vector<std::uint64_t> one_wave{65536};
    const Ac_convert_wave_wave kept(65536, 0.0);
    EXPECT_EQ(kept.memory_needed(one_wave), 2 * 65536 * sizeof(double));
    const Ac_convert_wave_wave resized(65537, 0.0);
    EXPECT_GT(resized.memory_needed(one_wave), 4 * 65536 * sizeof(double));
}

TEST(Ac_convert_wave_wave, RatiosTheResamplerRefusesAreExplained)
{
    for (const std::vector<double>& wave : {std::vector<double>(1024, 0.5), {}}) {
        Ac_convert_wave_wave converter(2, 0.00001);
        converter.set_input(wave.data(), wave.size());
        EXPECT_FALSE(converter.convert());
        EXPECT_FALSE(converter.ok);
        EXPECT_EQ(converter.error_message, "SRC ratio outside [1/256, 256] range.");
        EXPECT_EQ(converter.get_output(), nullptr);
    }
}

TEST(Ac_convert_wave_wave, KeepsTheShapeOfVeryQuietAndVeryLoudCycles)
{
    const std::vector<double> saw = ideal_saw(64);
    for (const double level : {1e-50, 1e39, 1e300}) {
        std::vector<double> scaled(saw);
        for (double& v : scaled)
            v *= level;
        EXPECT_LT(largest_difference(resize(scaled, 128), ideal_saw(128)), 1e-6) << level;
    }
}

TEST(Ac_convert_wave_wave, SilenceStaysSilent)
{
    EXPECT_EQ(resize(std::vector<double>(16, 0.0), 32), std::vector<double>(32, 0.0));
}

}  // namespace
}  // namespace Vemo
