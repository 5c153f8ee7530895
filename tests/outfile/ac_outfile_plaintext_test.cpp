#include "outfile/ac_outfile_plaintext.hpp"

#include "support/temp_folder.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace Vemo {
namespace {

using testing::read_file;
using testing::Temp_folder;

std::string written(const std::vector<double>& values)
{
    Temp_folder folder;
    const std::string path = folder.path("out.txt");
    {
        Ac_outfile_plaintext writer(path);
        EXPECT_TRUE(writer.open());
        EXPECT_TRUE(writer.set_data(values.data(), values.size()));
        EXPECT_TRUE(writer.write()) << writer.error_message;
        EXPECT_TRUE(writer.publish()) << writer.error_message;
    }
    return read_file(path);
}

TEST(Ac_outfile_plaintext, WritesSixSignificantDigitsEachValueEndingItsLine)
{
    struct Case {
        std::vector<double> values;
        std::string text;
    };
    const Case cases[] = {
        {{}, ""},
        {{M_PI}, "3.14159\n"},
        {{0.5, -0.25, 0.00001, 0}, "0.5\n-0.25\n1e-05\n0\n"},
        {{100000, 1000000, 1.0, -0.0001, 0.000123456789},
         "100000\n1e+06\n1\n-0.0001\n0.000123457\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(written(c.values), c.text) << c.values.size() << " values";
    // Written in pieces, a large buffer still arrives whole.
    EXPECT_EQ(written(std::vector<double>(100000, 0.125)).size(), 100000u * 6);
}

}  // namespace
}  // namespace Vemo
