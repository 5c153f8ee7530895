#include "app/format_resolution.hpp"

#include <gtest/gtest.h>

namespace Vemo {
namespace {

TEST(format_from_extension, NamesTheFormatAfterTheLastDot)
{
    const std::pair<std::string, std::string> cases[] = {
        {"saw.wav", "audio"},      {"saw.aiff", "audio"},     {"saw.txt", "text"},
        {"saw.ftable", "ftable"},  {"saw.syx", "mw2"},        {"saw.ysc", "ysc"},
        {"saw.WAV", "none"},       {"saw.aif", "none"},       {"saw", "none"},
        {"txt", "text"},           {"a.b/saw", "none"},       {"saw.txt.wav", "audio"},
        {"saw.", "none"},          {"", "none"},              {"dir.x/saw.syx", "mw2"},
    };
    for (const auto& [name, format] : cases)
        EXPECT_EQ(format_from_extension(name), format) << name;
}

}  // namespace
}  // namespace Vemo
