#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace Vemo::testing {

/// Runs one `Converter` of `size` output values over `input` and returns what
/// it delivered; a failed conversion fails the test and gives no values.
template <typename Converter>
std::vector<double> converted(const std::vector<double>& input, std::uint64_t size,
                              double threshold = 0.00001)
{
    Converter converter(size, threshold);
    converter.set_input(input.data(), input.size());
    EXPECT_TRUE(converter.convert()) << converter.error_message;
    const double* output = converter.get_output();
    return output ? std::vector<double>(output, output + size) : std::vector<double>();
}

}  // namespace Vemo::testing
