#include "app/format_resolution.hpp"

#include "convert/ac_convert_harm_harm.hpp"
#include "convert/ac_convert_harm_wave.hpp"
#include "convert/ac_convert_wave_harm.hpp"
#include "convert/ac_convert_wave_wave.hpp"
#include "infile/ac_infile_audio.hpp"
#include "infile/ac_infile_cs_ft.hpp"
#include "infile/ac_infile_mw2.hpp"
#include "infile/ac_infile_plaintext.hpp"
#include "infile/ac_infile_wt.hpp"
#include "outfile/ac_outfile_audio.hpp"
#include "outfile/ac_outfile_mw2.hpp"
#include "outfile/ac_outfile_plaintext.hpp"
#include "outfile/ac_outfile_svg.hpp"
#include "outfile/ac_outfile_wt.hpp"
#include "outfile/ac_outfile_yoshimi.hpp"

#include <gtest/gtest.h>

#include <typeinfo>

namespace Vemo {
namespace {

// The stages are made for names that need not exist: their constructors only
// look at the file system, and what they find surfaces when they are opened.

TEST(create_reader, EachFormatGivesItsReaderAndTheTypeItImplies)
{
    struct Case {
        std::string file, format, type;
        const std::type_info& reader;
        std::string completed_format, completed_type;
    };
    const Case cases[] = {
        {"a.wav", "", "harm", typeid(Ac_infile_audio), "audio", "wave"},
        {"a.AIF", "", "", typeid(Ac_infile_audio), "audio", "wave"},
        {"a.txt", "", "harm", typeid(Ac_infile_plaintext), "text", "harm"},
        {"a.dat", "text", "wave", typeid(Ac_infile_plaintext), "text", "wave"},
        {"a.ftable", "", "wave", typeid(Ac_infile_cs_ft), "ftable", "wave"},
        {"a.syx", "", "harm", typeid(Ac_infile_mw2), "mw2", "wave"},
        {"a.txt", "mw2", "", typeid(Ac_infile_mw2), "mw2", "wave"},
        {"a.WT", "", "harm", typeid(Ac_infile_wt), "wt", "wave"},
        {"a.bin", "wt", "", typeid(Ac_infile_wt), "wt", "wave"},
    };
    for (const Case& c : cases) {
        std::string format = c.format, type = c.type, refusal;
        const auto reader = create_reader(c.file, format, type, refusal);
        ASSERT_TRUE(reader) << c.file << ": " << refusal;
        const Ac_infile_base& made = *reader;
        EXPECT_EQ(typeid(made), c.reader) << c.file;
        EXPECT_EQ(format, c.completed_format) << c.file;
        EXPECT_EQ(type, c.completed_type) << c.file;
        EXPECT_EQ(refusal, "") << c.file;
    }
}

TEST(create_reader, RefusesFormatsItCannotReadAndMissingTypes)
{
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"a.ysc", "", "a.ysc is not recognised as a supported format: ysc"},
        {"a.wav", "svg", "a.wav is not recognised as a supported format: svg"},
        {"a.wave", "", "a.wave is not recognised as a supported format: none"},
        {"a.txt", "", "No type was given for the input file a.txt\n"
                      "But input format text supports both wave and harm. Please specify."},
        {"a.ftable", "", "No type was given for the input file a.ftable\n"
                         "But input format ftable supports both wave and harm. Please specify."},
    };
    for (const auto& [file, given_format, message] : cases) {
        std::string format = given_format, type, refusal;
        EXPECT_FALSE(create_reader(file, format, type, refusal)) << file;
        EXPECT_EQ(refusal, message);
    }
}

TEST(create_writer, EachFormatGivesItsWriterTypeSizeAndWaveNumber)
{
    struct Case {
        std::string file, format, type;
        std::uint32_t wave_number;
        const std::type_info& writer;
        std::string completed_type;
        std::uint64_t output_size;
        std::uint32_t completed_wave_number;
    };
    const Case cases[] = {
        {"a.wav", "", "harm", 0, typeid(Ac_outfile_audio), "wave", 100, 0},
        {"a.Aiff", "", "", 0, typeid(Ac_outfile_audio), "wave", 100, 0},
        {"a.txt", "", "harm", 0, typeid(Ac_outfile_plaintext), "harm", 100, 0},
        {"a.ysc", "", "wave", 0, typeid(Ac_outfile_yoshimi), "harm", 100, 0},
        {"a.syx", "", "wave", 0, typeid(Ac_outfile_mw2), "harm", 64, 1000},
        {"a.syx", "", "", 1100, typeid(Ac_outfile_mw2), "harm", 64, 1100},
        {"a.svg", "", "wave", 0, typeid(Ac_outfile_svg), "wave", 100, 0},
        {"a.wt", "", "harm", 0, typeid(Ac_outfile_wt), "wave", 100, 0},
        {"a.bin", "wt", "", 0, typeid(Ac_outfile_wt), "wave", 100, 0},
        {"a.out", "text", "wave", 7, typeid(Ac_outfile_plaintext), "wave", 100, 7},
    };
    for (const Case& c : cases) {
        std::string format = c.format, type = c.type, refusal;
        std::uint64_t output_size = 100;
        std::uint32_t wave_number = c.wave_number;
        const auto writer = create_writer(c.file, format, type, output_size, wave_number, refusal);
        ASSERT_TRUE(writer) << c.file << ": " << refusal;
        const Ac_outfile_base& made = *writer;
        EXPECT_EQ(typeid(made), c.writer) << c.file;
        EXPECT_EQ(type, c.completed_type) << c.file;
        EXPECT_EQ(output_size, c.output_size) << c.file;
        EXPECT_EQ(wave_number, c.completed_wave_number) << c.file;
    }
}

TEST(create_writer, RefusesFormatsItCannotWriteAndMissingTypes)
{
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"a.ftable", "", "a.ftable is not recognised as a supported format: ftable"},
        {"a.txt", "mw3", "a.txt is not recognised as a supported format: mw3"},
        {"a.txt", "", "No type was given for the output file a.txt\n"
                      "But the output format text supports both wave and harm. Please specify."},
        {"a.svg", "", "No type was given for the output file a.svg\n"
                      "But the output format svg supports both wave and harm. Please specify."},
    };
    for (const auto& [file, given_format, message] : cases) {
        std::string format = given_format, type, refusal;
        std::uint64_t output_size = 0;
        std::uint32_t wave_number = 0;
        EXPECT_FALSE(create_writer(file, format, type, output_size, wave_number, refusal)) << file;
        EXPECT_EQ(refusal, message);
    }
}

TEST(choose_converter, EachTypePairGivesItsConverter)
{
    struct Case {
        std::string input, output;
        const std::type_info* converter;
    };
    const Case cases[] = {
        {"harm", "harm", &typeid(Ac_convert_harm_harm)},
        {"harm", "wave", &typeid(Ac_convert_harm_wave)},
        {"wave", "wave", &typeid(Ac_convert_wave_wave)},
        {"wave", "harm", &typeid(Ac_convert_wave_harm)},
        {"Wave", "harm", nullptr},
        {"wave", "spectrum", nullptr},
    };
    for (const Case& c : cases) {
        std::string refusal;
        const auto converter = choose_converter(c.input, c.output, 32, 0.25, refusal);
        if (!c.converter) {
            EXPECT_FALSE(converter);
            EXPECT_EQ(refusal, "Can't convert between input type " + c.input +
                                   " and output type " + c.output);
            continue;
        }
        ASSERT_TRUE(converter) << refusal;
        const Ac_convert_base& made = *converter;
        EXPECT_EQ(typeid(made), *c.converter);
        EXPECT_EQ(converter->output_size, 32u);
        EXPECT_EQ(converter->threshold, 0.25);
    }
}

}  // namespace
}  // namespace Vemo
