#include "app/request.hpp"

#include "app/option_error_text.hpp"
#include "formats/mw2_wave_dump.hpp"
#include "program_name.hpp"

#include <boost/lexical_cast.hpp>
#include <boost/program_options.hpp>

#include <cmath>
#include <sstream>
#include <vector>

namespace Vemo {

namespace po = boost::program_options;

namespace {

/// An option value that is a whole number of digits, with or without a plus
/// sign before them. The library's own conversion to an unsigned type would
/// take "-1" and wrap it around to the largest value.
template <typename T>
struct Whole_number {
    T value;
};

template <typename T>
void validate(boost::any& result, const std::vector<std::string>& words, Whole_number<T>*, int)
{
    po::validators::check_first_occurrence(result);
    const std::string& word = po::validators::get_single_string(words);
    const std::string digits = word.rfind('+', 0) == 0 ? word.substr(1) : word;
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos)
        throw po::invalid_option_value(word);
    try {
        result = Whole_number<T>{boost::lexical_cast<T>(digits)};
    } catch (const boost::bad_lexical_cast&) {
        throw po::invalid_option_value(word);
    }
}

template <typename T>
po::typed_value<Whole_number<T>>* whole_number(const char* value_name)
{
    return po::value<Whole_number<T>>()->value_name(value_name);
}

const char* const banner = "Tonalith - Waveform spectrum converter version " TONALITH_VERSION;
const char* const copyright = "Copyright 2026 The Tonalith developers";
const char* const licence =
    "License GPL-3.0-or-later: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>";

po::options_description help_options()
{
    po::options_description options("Help options");
    options.add_options()
        ("help,h", "Show this help")
        ("version,v", "Show version information")
        ("list,l", po::value<std::string>()->value_name("input_file"),
         "List the waves of the input file: the dumps of a mw2 file, the waves of a "
         "wavetable");
    return options;
}

po::options_description conversion_options()
{
    po::options_description options("Conversion options");
    options.add_options()
        ("input,i", po::value<std::vector<std::string>>()->value_name("input_file"),
         "Input file to be converted; given several times, the waves of all of them make "
         "one wavetable")
        ("output,o", po::value<std::string>()->value_name("output_file"),
         "Output file to be written to")
        ("input_format,f", po::value<std::string>()->value_name("input_format"),
         "Input file format: audio (wav, aiff, flac, ogg, mp3 and the other sound files "
         "libsndfile reads), text (one value per line), ftable (for "
         "Csound ftsave(k) generated files), mw2 (Waldorf Microwave II/XT wave dump), wt (Surge XT "
         "and Bitwig wavetable)")
        ("output_format,F", po::value<std::string>()->value_name("output_format"),
         "Output file format: audio (wav and aiff), text (one value per line), ysc (Yoshimi "
         "script), mw2 (Waldorf Microwave II/XT wave dump), svg (picture of the wave or "
         "spectrum), wt (Surge XT and Bitwig wavetable)")
        ("input_type,t", po::value<std::string>()->value_name("input_type"),
         "Type of the input data, wave or harm, only necessary for text and ftable files, "
         "since they can store both.")
        ("output_type,T", po::value<std::string>()->value_name("output_type"),
         "Type of the output data, wave or harm, only necessary for text and ftable files, "
         "since they can store both.")
        ("samplerate,r", whole_number<std::uint32_t>("samplerate"),
         "Samplerate of the output file, only necessary for audio output (default 44100)")
        ("output_size,s", whole_number<std::uint64_t>("output_size"),
         "number of sample or harmonics for the output")
        ("input_size,S", whole_number<std::uint64_t>("input_size"),
         "Number of samples of one wave in an audio or text file that holds several (a "
         "wavetable); default: from the file's tags, else the whole file")
        ("input_wave,w", whole_number<std::uint32_t>("input_wave_number"),
         "Number of the input wave in a file that holds several (mw2 dumps, a wavetable, "
         "a wt file, text divided by -S). List all waves with the --list option. (default: 0)")
        ("all_waves,a", "Convert every wave of the input and write them as one wavetable")
        ("wave_count,n", whole_number<std::uint32_t>("wave_count"),
         "Number of waves of the output wavetable, spread evenly over the input's waves "
         "(default: as many as the input holds)")
        ("output_wave,W", whole_number<std::uint32_t>("output_wavenumber"),
         "Output wave number, only necessary for mw2 output. Valid numbers range from 1000 "
         "to 1249 (default: 1000)")
        ("output_table,X", whole_number<std::uint32_t>("output_table"),
         "Microwave II/XT user wavetable (96 to 127) that plays the written waves, for mw2 "
         "output")
        ("threshold,z", po::value<double>()->value_name("zero_threshold"),
         "Value below which harmonics will be set to zero (default: 1 * 10^(-5))");
    return options;
}

po::options_description all_options()
{
    po::options_description options;
    options.add(help_options()).add(conversion_options());
    return options;
}

/// Copies the value of `name` into `field` when the option was given.
template <typename T>
void take(const po::variables_map& given, const char* name, T& field)
{
    if (given.count(name))
        field = given[name].as<T>();
}

template <typename T>
void take(const po::variables_map& given, const char* name, Whole_number<T>, T& field)
{
    if (given.count(name))
        field = given[name].as<Whole_number<T>>().value;
}

/// Fills `request` from the options given; a missing option that the
/// request needs is its refusal.
void take_request(const po::variables_map& given, const std::string& program_path,
                  Request& request)
{
    if (given.empty()) {
        request.refusal = program_name +
                          " - convert between single cycle waveforms and spectra.\n"
                          "No options given try:\n" +
                          program_path + " -h to get help.";
        return;
    }
    // Help wins over everything else on the command line, then version.
    request.help = given.count("help") != 0;
    request.version = given.count("version") != 0;
    if (request.help || request.version)
        return;

    take(given, "input_format", request.input_format);
    take(given, "output_format", request.output_format);
    take(given, "input_type", request.input_type);
    take(given, "output_type", request.output_type);
    // A listing needs the size of a wave too, to tell the waves apart.
    take(given, "input_size", Whole_number<std::uint64_t>{}, request.input_size);
    if (given.count("list")) {
        request.list = given["list"].as<std::string>();
        return;
    }

    if (!given.count("input")) {
        request.refusal = "No input file given. Please specify an input file.";
        return;
    }
    request.input_files = given["input"].as<std::vector<std::string>>();
    if (!given.count("output")) {
        request.refusal = "No output file given. Please specify an output file.";
        return;
    }
    request.output_file = given["output"].as<std::string>();
    take(given, "samplerate", Whole_number<std::uint32_t>{}, request.sample_rate);
    take(given, "output_size", Whole_number<std::uint64_t>{}, request.output_size);
    take(given, "input_wave", Whole_number<std::uint32_t>{}, request.input_wave_number);
    take(given, "output_wave", Whole_number<std::uint32_t>{}, request.output_wave_number);
    take(given, "threshold", request.threshold);
    request.all_waves = given.count("all_waves") != 0;
    take(given, "wave_count", Whole_number<std::uint32_t>{}, request.wave_count);
    take(given, "output_table", Whole_number<std::uint32_t>{}, request.output_table);
    if (!std::isfinite(request.threshold))
        request.refusal = "The zero threshold must be a finite number.";
    else if (request.table_run() && request.input_wave_number != 0)
        request.refusal = "The input wave number can't be combined with --all_waves, "
                          "--wave_count or several inputs.";
    else if (request.output_table != 0 && (request.output_table < mw2_first_user_table ||
                                           request.output_table > mw2_last_user_table))
        request.refusal = "Microwave II/XT user wavetables are numbered 96 to 127.";
}

}  // namespace

Request parse_request(int argc, char** argv)
{
    Request request;
    try {
        // The program takes no positional arguments: a bare word is an error.
        const po::positional_options_description no_positional_arguments;
        po::variables_map given;
        po::store(po::command_line_parser(argc, argv)
                      .options(all_options())
                      .positional(no_positional_arguments)
                      .run(),
                  given);
        po::notify(given);
        take_request(given, argc > 0 && argv[0] ? argv[0] : "", request);
    } catch (const po::error& error) {
        request = Request{};
        request.option_error = option_error_text(error);
        request.refusal = "Failed to parse the program options.";
    }
    return request;
}

std::string help_text()
{
    std::ostringstream text;
    text << banner << '\n'
         << copyright << '\n'
         << licence << '\n'
         << program_name
         << " convert between single cycle waveforms and spectra in different formats.\n\n"
         << all_options() << '\n';
    return text.str();
}

std::string version_text()
{
    return std::string(banner) + '\n' + copyright + '\n' + licence + '\n' +
           "This is free software: you are free to change and redistribute it. There is NO "
           "WARRANTY.\n";
}

}  // namespace Vemo
