#include "convert/ac_convert_harm_harm.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace Vemo {
namespace {

TEST(Ac_convert_harm_harm, TruncatesExtendsAndSilencesWithoutNormalising)
{
    struct Case {
        std::vector<double> input;
        std::uint64_t size;
        std::vector<double> output;
    };
    const Case cases[] = {
        {{1, 0.5, 0.25}, 5, {1, 0.5, 0.25, 0, 0}},
        {{1, 0.5, 0.25}, 2, {1, 0.5}},
        {{2, -3}, 2, {2, -3}},
        {{0.00001, -0.00001, 1.1e-5}, 3, {0, 0, 1.1e-5}},
        {{}, 3, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        Ac_convert_harm_harm converter(c.size, 0.00001);
        converter.set_input(c.input.data(), c.input.size());
        ASSERT_TRUE(converter.convert());
        EXPECT_EQ(std::vector<double>(converter.get_output(), converter.get_output() + c.size),
                  c.output);
    }
}

TEST(Ac_convert_harm_harm, ConvertWithoutInputIsExplained)
{
    Ac_convert_harm_harm converter(4, 0.00001);
    EXPECT_EQ(converter.get_output(), nullptr);
    EXPECT_FALSE(converter.convert());
    EXPECT_FALSE(converter.ok);
    EXPECT_EQ(converter.error_message, "There is no input, although input for conversion.");
}

}  // namespace
}  // namespace Vemo
