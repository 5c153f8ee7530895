#include "formats/file_extensions.hpp"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <tuple>

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
        {"saw.flac", "audio"},     {"saw.FLAC", "audio"},     {"saw.ogg", "audio"},
        {"saw.oga", "audio"},      {"saw.opus", "audio"},     {"saw.mp3", "audio"},
        {"saw.au", "audio"},       {"saw.snd", "audio"},      {"saw.caf", "audio"},
        {"saw.w64", "audio"},      {"saw.rf64", "audio"},     {"saw.flac.txt", "text"},
        {"table.wt", "wt"},        {"TABLE.WT", "wt"},        {"table.Wt", "wt"},
        {"table.wtx", "none"},     {"table.w", "none"},       {"wt.txt", "text"},
    };
    for (const auto& [name, format] : cases)
        EXPECT_EQ(format_from_extension(name), format) << name;
}

TEST(output_format_from_extension, AudioOutputIsWavOrAiffByName)
{
    const std::tuple<std::string, std::string, int> cases[] = {
        {"out.wav", "audio", SF_FORMAT_WAV},   {"out.AIF", "audio", SF_FORMAT_AIFF},
        {"out.aiff", "audio", SF_FORMAT_AIFF}, {"out.flac", "none", 0},
        {"out.mp3", "none", 0},                {"out.ogg", "none", 0},
        {"out.txt", "text", 0},                {"out.syx", "mw2", 0},
    };
    for (const auto& [name, format, container] : cases) {
        EXPECT_EQ(output_format_from_extension(name), format) << name;
        EXPECT_EQ(audio_container_from_extension(name), container) << name;
    }
    EXPECT_EQ(audio_output_extensions(), ".wav, .aif or .aiff");
}

}  // namespace
}  // namespace Vemo
