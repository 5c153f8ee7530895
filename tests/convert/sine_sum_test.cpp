#include "convert/sine_sum.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace Vemo {
namespace {

TEST(Sine_sum, HalfSampleOffsetGivesTheWaveDumpsFormulaBitForBit)
{
    // The wave dump's own formula, written out term by term, zero amplitudes
    // included: sample i is the sum of sin(h * ((i + 0.5) * 2pi) * (1/128)) * a.
    // The largest amplitude lies between 1 and 2, so the sum keeps their scale.
    const std::vector<double> amplitudes{1.9, 0.0, -0.31, 0.0, 0.0, 0.125, 1e-9, -0.77};
    const Sine_sum sines(amplitudes.data(), amplitudes.size(), 0.0, 128, 0.5);
    std::vector<double> samples(64);
    sines.sum(samples.data(), 0, samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i) {
        volatile double phase = (static_cast<double>(i) + 0.5) * 6.283185307179586;
        double s = 0.0;
        for (std::size_t k = 0; k < amplitudes.size(); ++k) {
            volatile double x = static_cast<double>(k + 1) * phase;
            x = x * 0.0078125;
            volatile double term = std::sin(x) * amplitudes[k];
            s = s + term;
        }
        EXPECT_EQ(std::memcmp(&samples[i], &s, sizeof s), 0) << "sample " << i;
    }
}

}  // namespace
}  // namespace Vemo
