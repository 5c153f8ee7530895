#pragma once

#include "program_name.hpp"
#include "stage/ac_convert_base.hpp"
#include "stage/ac_infile_base.hpp"
#include "stage/ac_outfile_base.hpp"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace Vemo {

/// One invocation: the options, the three stages of one conversion, and the
/// one place where failures are printed.
class Ac_application {
public:
    /// Parses the command line and creates the stages, or settles the outcome
    /// (help, version, listing, or an error) in `finished`.
    Ac_application(int argc, char** argv);
    /// Closes and releases writer, converter and reader, in that order; after
    /// a failed run the output file this run created is removed.
    ~Ac_application();
    Ac_application(const Ac_application&) = delete;
    Ac_application& operator=(const Ac_application&) = delete;

    /// Drives reader, converter and writer through one conversion.
    bool run();

    std::unique_ptr<Ac_infile_base> reader;
    std::unique_ptr<Ac_convert_base> converter;
    std::unique_ptr<Ac_outfile_base> writer;
    bool success = true;
    std::string error_message;
    bool finished = false;
    std::uint32_t input_wave_number = 0;
    std::uint32_t output_wave_number = 0;
    std::uint32_t sample_rate = 44100;
    std::string input_file;
    std::string output_file;
    double threshold = 0.00001;
    std::uint64_t output_size = 0;
    /// Samples of one wave of a wavetable input; 0 when not given.
    std::uint64_t input_size = 0;

private:
    bool parse_options(int argc, char** argv);
    bool create_reader(std::string& input_format, std::string& input_type);
    bool create_writer(std::string& output_format, std::string& output_type);
    bool choose_converter(const std::string& input_type, const std::string& output_type);
    void list_input_waves(const std::string& input_type);

    bool convert_once();
    /// Settles a failure found before the run: `run` reports it.
    bool refuse(std::string message);
    /// Ends the run with `message`: `run` reports it.
    bool stop_run(const std::string& message);
    /// The one report of a failure, after the option library's explanation
    /// when the command line could not be parsed.
    void print_error_report() const;
    void print_success_report() const;

    /// The option library's explanation of a command line it could not parse.
    std::optional<std::string> option_error_explanation;
};

}  // namespace Vemo
