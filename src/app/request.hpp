#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Vemo {

/// What the user asked for on the command line, as plain values. Parsing
/// fills it and does nothing else: no stage is made, nothing is printed.
struct Request {
    bool help = false;
    bool version = false;
    /// The file whose waves to list (option `list`).
    std::optional<std::string> list;

    /// In the order given; more than one make a table run.
    std::vector<std::string> input_files;
    std::string output_file;
    /// Empty where the option was not given: the extension or the format decides.
    std::string input_format;
    std::string output_format;
    std::string input_type;
    std::string output_type;
    std::uint32_t sample_rate = 44100;
    /// 0 when not given.
    std::uint64_t output_size = 0;
    /// Samples of one wave of a file that holds several; 0 when not given.
    std::uint64_t input_size = 0;
    std::uint32_t input_wave_number = 0;
    /// 0 when not given.
    std::uint32_t output_wave_number = 0;
    double threshold = 0.00001;
    /// Every wave of the input, not one, makes the output.
    bool all_waves = false;
    /// Waves of the output table, spread over the input's; 0 when not given.
    std::uint32_t wave_count = 0;
    /// The Microwave II/XT user wavetable that plays the written waves; 0
    /// when not given.
    std::uint32_t output_table = 0;

    /// Whether the run converts whole wavetables rather than one wave.
    bool table_run() const { return all_waves || wave_count != 0 || input_files.size() > 1; }

    /// Why the command line asks for nothing that can be done; empty when it can.
    std::string refusal;
    /// The option library's explanation of a command line it could not parse.
    std::optional<std::string> option_error;
};

/// Reads the command line. A request that cannot be carried out comes back
/// with its `refusal`, the first problem found in this order: a command line
/// that does not parse, no option at all, then (unless help, version or a
/// listing is asked for) a missing input, a missing output, a threshold that
/// is not a finite number, an input wave number in a table run, a
/// Microwave II/XT wavetable number outside 96 to 127.
Request parse_request(int argc, char** argv);

/// The help text: the banner, the licence and every option.
std::string help_text();

/// The version text: the banner, the licence and the warranty.
std::string version_text();

}  // namespace Vemo
