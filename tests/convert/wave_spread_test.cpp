#include "convert/wave_spread.hpp"

#include <gtest/gtest.h>

namespace Vemo {
namespace {

TEST(spread_waves, EachOutputWaveSitsAtItsPositionAmongTheInputs)
{
    // Three waves of two values: 0 0, 1 2, 3 5.
    const std::vector<double> table = {0, 0, 1, 2, 3, 5};
    struct Case {
        std::uint64_t count;
        std::vector<double> spread;
    };
    const Case cases[] = {
        {1, {0, 0}},
        {2, {0, 0, 3, 5}},
        {3, {0, 0, 1, 2, 3, 5}},
        // Positions 0, 2/3, 4/3 and 2: (1 - f) x_k + f x_{k+1}.
        {4, {0, 0, (1 - 2.0 / 3) * 0 + 2.0 / 3 * 1, (1 - 2.0 / 3) * 0 + 2.0 / 3 * 2,
             (1 - 1.0 / 3) * 1 + 1.0 / 3 * 3, (1 - 1.0 / 3) * 2 + 1.0 / 3 * 5, 3, 5}},
        {5, {0, 0, 0.5, 1, 1, 2, 2, 3.5, 3, 5}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(spread_waves(table, 3, 2, c.count), c.spread) << c.count << " waves";
    // A single input wave is repeated.
    EXPECT_EQ(spread_waves(std::vector<double>{1, -1}, 1, 2, 3),
              (std::vector<double>{1, -1, 1, -1, 1, -1}));
}

}  // namespace
}  // namespace Vemo
