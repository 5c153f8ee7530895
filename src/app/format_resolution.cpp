// Turns file names, formats and types into the three stages of a conversion.
// Each table below is read by a loop, so a new format is one more row.

#include "app/format_resolution.hpp"

#include "app/ac_application.hpp"
#include "convert/ac_convert_harm_harm.hpp"
#include "convert/ac_convert_harm_wave.hpp"
#include "convert/ac_convert_wave_harm.hpp"
#include "convert/ac_convert_wave_wave.hpp"
#include "formats/mw2_wave_dump.hpp"
#include "infile/ac_infile_audio.hpp"
#include "infile/ac_infile_cs_ft.hpp"
#include "infile/ac_infile_mw2.hpp"
#include "infile/ac_infile_plaintext.hpp"
#include "outfile/ac_outfile_audio.hpp"
#include "outfile/ac_outfile_mw2.hpp"
#include "outfile/ac_outfile_plaintext.hpp"
#include "outfile/ac_outfile_svg.hpp"
#include "outfile/ac_outfile_yoshimi.hpp"

#include <algorithm>
#include <iostream>
#include <string_view>

namespace Vemo {

namespace {

struct Extension_format {
    std::string_view extension;
    std::string_view format;
};

/// Extensions in lower case; a file name's may be in any case.
const Extension_format extension_formats[] = {
    {"wav", "audio"}, {"aif", "audio"}, {"aiff", "audio"}, {"txt", "text"},
    {"ftable", "ftable"}, {"syx", "mw2"}, {"ysc", "ysc"}, {"svg", "svg"},
};

template <typename Reader>
std::unique_ptr<Ac_infile_base> make_reader(const std::string& file_name)
{
    return std::make_unique<Reader>(file_name);
}

template <typename Writer>
std::unique_ptr<Ac_outfile_base> make_writer(const std::string& file_name, const std::string&)
{
    return std::make_unique<Writer>(file_name);
}

/// For a writer whose file differs for a wave and a spectrum.
template <typename Writer>
std::unique_ptr<Ac_outfile_base> make_typed_writer(const std::string& file_name,
                                                   const std::string& output_type)
{
    return std::make_unique<Writer>(file_name, output_type);
}

template <typename Converter>
std::unique_ptr<Ac_convert_base> make_converter(std::uint64_t output_size, double threshold)
{
    return std::make_unique<Converter>(output_size, threshold);
}

/// An input format: its reader, and the type it implies (empty when the file
/// can hold a wave or a spectrum and the user must say which).
struct Reader_kind {
    std::string_view format;
    std::string_view implied_type;
    std::unique_ptr<Ac_infile_base> (*create)(const std::string&);
};

const Reader_kind reader_kinds[] = {
    {"audio", "wave", make_reader<Ac_infile_audio>},
    {"text", "", make_reader<Ac_infile_plaintext>},
    {"ftable", "", make_reader<Ac_infile_cs_ft>},
    {"mw2", "wave", make_reader<Ac_infile_mw2>},
};

/// An output format: its writer, the type it implies, and for formats that
/// hold a fixed number of values, that number and the default wave number.
struct Writer_kind {
    std::string_view format;
    std::string_view implied_type;
    std::uint64_t fixed_output_size;
    std::uint32_t default_wave_number;
    std::unique_ptr<Ac_outfile_base> (*create)(const std::string&, const std::string&);
};

const Writer_kind writer_kinds[] = {
    {"text", "", 0, 0, make_writer<Ac_outfile_plaintext>},
    {"audio", "wave", 0, 0, make_writer<Ac_outfile_audio>},
    {"ysc", "harm", 0, 0, make_writer<Ac_outfile_yoshimi>},
    {"mw2", "harm", mw2_stored_samples, mw2_first_user_wave, make_writer<Ac_outfile_mw2>},
    {"svg", "", 0, 0, make_typed_writer<Ac_outfile_svg>},
};

struct Converter_kind {
    std::string_view input_type;
    std::string_view output_type;
    std::unique_ptr<Ac_convert_base> (*create)(std::uint64_t, double);
};

const Converter_kind converter_kinds[] = {
    {"harm", "harm", make_converter<Ac_convert_harm_harm>},
    {"harm", "wave", make_converter<Ac_convert_harm_wave>},
    {"wave", "wave", make_converter<Ac_convert_wave_wave>},
    {"wave", "harm", make_converter<Ac_convert_wave_harm>},
};

template <typename Kind, std::size_t count>
const Kind* find_format(const Kind (&kinds)[count], const std::string& format)
{
    for (const Kind& kind : kinds)
        if (kind.format == format)
            return &kind;
    return nullptr;
}

}  // namespace

std::string_view file_extension(const std::string& file_name)
{
    const std::size_t dot = file_name.rfind('.');
    return dot == std::string::npos ? std::string_view(file_name)
                                    : std::string_view(file_name).substr(dot + 1);
}

bool extension_is(std::string_view extension, std::string_view name)
{
    // Letters are folded by hand: the locale must not decide what a name means.
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return std::equal(extension.begin(), extension.end(), name.begin(), name.end(),
                      [&](char a, char b) { return lower(a) == b; });
}

std::string format_from_extension(const std::string& file_name)
{
    const std::string_view extension = file_extension(file_name);
    for (const Extension_format& row : extension_formats)
        if (extension_is(extension, row.extension))
            return std::string(row.format);
    return "none";
}

bool Ac_application::create_reader(std::string& input_format, std::string& input_type)
{
    if (input_format.empty())
        input_format = format_from_extension(input_file);
    const Reader_kind* kind = find_format(reader_kinds, input_format);
    if (!kind)
        return refuse(input_file + " is not recognised as a supported format: " + input_format);

    reader = kind->create(input_file);
    if (!kind->implied_type.empty())
        input_type = kind->implied_type;
    else if (input_type.empty())
        return refuse("No type was given for the input file " + input_file +
                      "\nBut input format " + input_format +
                      " supports both wave and harm. Please specify.");
    return true;
}

bool Ac_application::create_writer(std::string& output_format, std::string& output_type)
{
    if (output_format.empty())
        output_format = format_from_extension(output_file);
    const Writer_kind* kind = find_format(writer_kinds, output_format);
    if (!kind)
        return refuse(output_file + " is not recognised as a supported format: " +
                      output_format);

    if (!kind->implied_type.empty())
        output_type = kind->implied_type;
    writer = kind->create(output_file, output_type);
    if (kind->fixed_output_size != 0)
        output_size = kind->fixed_output_size;
    if (output_wave_number == 0)
        output_wave_number = kind->default_wave_number;
    if (output_type.empty())
        return refuse("No type was given for the output file " + output_file +
                      "\nBut the output format " + output_format +
                      " supports both wave and harm. Please specify.");
    return true;
}

bool Ac_application::choose_converter(const std::string& input_type,
                                      const std::string& output_type)
{
    for (const Converter_kind& kind : converter_kinds) {
        if (kind.input_type == input_type && kind.output_type == output_type) {
            converter = kind.create(output_size, threshold);
            return true;
        }
    }
    return refuse("Can't convert between input type " + input_type + " and output type " +
                  output_type);
}

void Ac_application::list_input_waves(const std::string& input_type)
{
    if (!reader->select_wave_size(input_size) || !reader->open()) {
        stop_run(reader->error_message);
        return;
    }
    // The names are all made before any is printed: a reader that cannot
    // hold them all fails with its message and nothing is listed.
    const std::vector<std::string> names = reader->list_waves();
    if (!reader->ok) {
        stop_run(reader->error_message);
        return;
    }
    std::cout << program_name << ": listing " << (input_type == "harm" ? "spectra" : "waveforms")
              << " from file " << input_file << ":\n";
    for (const std::string& name : names)
        std::cout << name << '\n' << std::flush;
    reader->close();
}

}  // namespace Vemo
