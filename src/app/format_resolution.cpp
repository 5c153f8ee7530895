// Each table below is read by a loop, so a new format is one more row.

#include "app/format_resolution.hpp"

#include "convert/ac_convert_harm_harm.hpp"
#include "convert/ac_convert_harm_wave.hpp"
#include "convert/ac_convert_wave_harm.hpp"
#include "convert/ac_convert_wave_wave.hpp"
#include "formats/file_extensions.hpp"
#include "formats/mw2_wave_dump.hpp"
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

#include <string_view>

namespace Vemo {

namespace {

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
    {"wt", "wave", make_reader<Ac_infile_wt>},
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
    {"wt", "wave", 0, 0, make_writer<Ac_outfile_wt>},
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

std::string not_recognised(const std::string& file_name, const std::string& format)
{
    return file_name + " is not recognised as a supported format: " + format;
}

template <typename Kind, std::size_t count>
const Kind* find_format(const Kind (&kinds)[count], const std::string& format)
{
    for (const Kind& kind : kinds)
        if (kind.format == format)
            return &kind;
    return nullptr;
}

}  // namespace

std::unique_ptr<Ac_infile_base> create_reader(const std::string& file_name,
                                              std::string& format, std::string& type,
                                              std::string& refusal)
{
    if (format.empty())
        format = format_from_extension(file_name);
    const Reader_kind* kind = find_format(reader_kinds, format);
    if (!kind) {
        refusal = not_recognised(file_name, format);
        return nullptr;
    }
    if (!kind->implied_type.empty())
        type = kind->implied_type;
    else if (type.empty()) {
        refusal = "No type was given for the input file " + file_name + "\nBut input format " +
                  format + " supports both wave and harm. Please specify.";
        return nullptr;
    }
    return kind->create(file_name);
}

std::unique_ptr<Ac_outfile_base> create_writer(const std::string& file_name,
                                               std::string& format, std::string& type,
                                               std::uint64_t& output_size,
                                               std::uint32_t& wave_number,
                                               std::string& refusal)
{
    if (format.empty())
        format = output_format_from_extension(file_name);
    const Writer_kind* kind = find_format(writer_kinds, format);
    if (!kind) {
        refusal = not_recognised(file_name, format);
        return nullptr;
    }
    if (!kind->implied_type.empty())
        type = kind->implied_type;
    if (type.empty()) {
        refusal = "No type was given for the output file " + file_name +
                  "\nBut the output format " + format +
                  " supports both wave and harm. Please specify.";
        return nullptr;
    }
    if (kind->fixed_output_size != 0)
        output_size = kind->fixed_output_size;
    if (wave_number == 0)
        wave_number = kind->default_wave_number;
    return kind->create(file_name, type);
}

std::unique_ptr<Ac_convert_base> choose_converter(const std::string& input_type,
                                                  const std::string& output_type,
                                                  std::uint64_t output_size, double threshold,
                                                  std::string& refusal)
{
    for (const Converter_kind& kind : converter_kinds)
        if (kind.input_type == input_type && kind.output_type == output_type)
            return kind.create(output_size, threshold);
    refusal = "Can't convert between input type " + input_type + " and output type " +
              output_type;
    return nullptr;
}

}  // namespace Vemo
