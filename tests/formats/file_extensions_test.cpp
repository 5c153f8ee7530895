#include "formats/file_extensions.hpp"

#include <gtest/gtest.h>

namespace Vemo {
namespace {

TEST(format_from_extension, NamesTheFormatAfterTheLastDotInAnyLetterCase)
{
    const std::pair<std::string, std::string> cases[] = {
        {"saw.wav", "audio"},      {"saw.aiff", "audio"},     {"saw.txt", "text"},
        {"saw.ftable", "ftable"},  {"saw.syx", "mw2"},        {"saw.ysc", "ysc"},
        {"saw.WAV", "audio"},      {"saw.aif", "audio"},      {"BANK.Syx", "mw2"},
        {"saw.AIF", "audio"},      {"saw.wave", "none"},      {"saw", "none"},
        {"txt", "text"},           {"a.b/saw", "none"},       {"saw.txt.wav", "audio"},
        {"saw.", "none"},          {"", "none"},              {"dir.x/saw.syx", "mw2"},
        {"table.wt", "wt"},        {"TABLE.WT", "wt"},        {"table.Wt", "wt"},
        {"table.wtx", "none"},     {"table.w", "none"},       {"wt.txt", "text"},
    };
    for (const auto& [name, format] : cases)
        EXPECT_EQ(format_from_extension(name), format) << name;
}

}  // namespace
}  // namespace Vemo
