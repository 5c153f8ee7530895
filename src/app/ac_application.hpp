#pragma once

#include "app/request.hpp"
#include "app/wave_table.hpp"
#include "stage/ac_convert_base.hpp"
#include "stage/ac_infile_base.hpp"
#include "stage/ac_outfile_base.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Vemo {

/// One invocation: what the user asked for, the three stages of one
/// conversion, and the one place where failures are printed.
class Ac_application {
public:
    /// Reads the command line; a command line that asks for nothing that can
    /// be done settles the outcome here, in `finished`.
    Ac_application(int argc, char** argv);
    /// Closes and releases writer, converter and reader, in that order; after
    /// a failed run the output file this run created is removed.
    ~Ac_application();
    Ac_application(const Ac_application&) = delete;
    Ac_application& operator=(const Ac_application&) = delete;

    /// Does what was asked (help, version, a listing or one conversion) and
    /// reports a failure.
    bool run();

    /// One reader for each input, in the order given.
    std::vector<std::unique_ptr<Ac_infile_base>> readers;
    std::unique_ptr<Ac_convert_base> converter;
    std::unique_ptr<Ac_outfile_base> writer;
    bool success = true;
    std::string error_message;
    /// Set when the outcome needs no conversion: a refused command line,
    /// help, version or a listing.
    bool finished = false;
    std::uint32_t input_wave_number = 0;
    std::uint32_t output_wave_number = 0;
    std::uint32_t sample_rate = 44100;
    /// The input (the first of several), or the file to list.
    std::string input_file;
    std::string output_file;
    double threshold = 0.00001;
    std::uint64_t output_size = 0;
    /// Samples of one wave of a wavetable input; 0 when not given.
    std::uint64_t input_size = 0;

private:
    /// Makes the reader, writer and converter the request names.
    bool create_stages();
    /// Reads, converts and writes: the story of one conversion, of one wave
    /// or of a whole table.
    bool convert_once();
    /// The number of waves the output will hold.
    std::uint64_t written_wave_count() const;
    /// Reads every wave of every input into `table`, spread over the number
    /// of waves asked for.
    bool read_table(Wave_table& table);
    bool read_waves(Wave_table& table);
    /// Replaces the table's waves by the number asked for, spread over them.
    bool spread_table(Wave_table& table);
    void list_input_waves();

    /// Ends the run with `message`, unless an earlier failure did already:
    /// the first failure is the one the user sees.
    bool stop_run(const std::string& message);
    /// The one report of a failure, after the option library's explanation
    /// when the command line could not be parsed.
    void print_error_report() const;
    void print_success_report() const;

    Request request;
};

}  // namespace Vemo
