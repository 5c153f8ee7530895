#include "app/ac_application.hpp"

#include "app/format_resolution.hpp"
#include "convert/wave_spread.hpp"
#include "program_name.hpp"
#include "system/memory_budget.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>

namespace Vemo {

namespace {

/// The text for an error that escaped a stage or a library.
std::string describe(const std::exception& error)
{
    if (dynamic_cast<const std::bad_alloc*>(&error))
        return not_enough_memory;
    return error.what();
}

/// Whether everything printed so far has reached standard output. If not,
/// standard error says so, since standard output cannot carry the news.
bool standard_output_written()
{
    if (std::cout.flush() && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    // The failed write left its reason; nothing since has called the system.
    const int reason = errno;
    std::cerr << program_name << " ERROR: standard output could not be written"
              << (reason != 0 ? std::string(": ") + std::strerror(reason) : std::string())
              << ".\n"
              << std::flush;
    return false;
}

}  // namespace

Ac_application::Ac_application(int argc, char** argv)
{
    try {
        request = parse_request(argc, argv);
    } catch (const std::exception& error) {
        request.refusal = describe(error);
    }
    input_file = request.list              ? *request.list
                 : request.input_files.empty() ? std::string()
                                               : request.input_files.front();
    output_file = request.output_file;
    sample_rate = request.sample_rate;
    output_size = request.output_size;
    input_size = request.input_size;
    input_wave_number = request.input_wave_number;
    output_wave_number = request.output_wave_number;
    threshold = request.threshold;
    finished = !request.refusal.empty() || request.help || request.version || request.list;
    if (!request.refusal.empty())
        stop_run(request.refusal);
}

Ac_application::~Ac_application()
{
    if (writer) {
        writer->close();
        if (!success)
            writer->remove_created_file();
        writer.reset();
    }
    converter.reset();
    for (std::unique_ptr<Ac_infile_base>& reader : readers) {
        reader->close();
        reader.reset();
    }
}

bool Ac_application::run()
{
    if (success) {
        try {
            if (request.help)
                std::cout << help_text() << std::flush;
            else if (request.version)
                std::cout << version_text() << std::flush;
            else if (request.list)
                list_input_waves();
            else if (create_stages())
                convert_once();
        } catch (const std::exception& error) {
            stop_run(describe(error));
        }
    }
    if (!success)
        print_error_report();
    else if (finished && !standard_output_written())
        // Help, version and a listing exist only to be read: one that could
        // not be written is a failure.
        success = false;
    return success;
}

bool Ac_application::create_stages()
{
    std::string refusal;
    std::string input_type;
    for (const std::string& file : request.input_files) {
        std::string format = request.input_format;
        std::string type = request.input_type;
        std::unique_ptr<Ac_infile_base> reader = create_reader(file, format, type, refusal);
        if (!reader)
            return stop_run(refusal);
        if (!readers.empty() && type != input_type)
            return stop_run("All inputs of one table must hold waves, or all spectra.");
        input_type = type;
        readers.push_back(std::move(reader));
    }
    std::string output_type = request.output_type;
    std::string output_format = request.output_format;
    writer = create_writer(output_file, output_format, output_type, output_size,
                           output_wave_number, refusal);
    if (!writer)
        return stop_run(refusal);
    if (output_size == 0)
        return stop_run("No output size given. Please specify an output size.");
    converter = choose_converter(input_type, output_type, output_size, threshold, refusal);
    return converter || stop_run(refusal);
}

bool Ac_application::convert_once()
{
    // Guards a normal run never reaches, since create_stages leaves no stage
    // missing: a stage missing by mistake is reported, not dereferenced.
    if (readers.empty())
        return stop_run("Could not create input file " + input_file);
    if (!writer)
        return stop_run("Could not open outputfile " + output_file);
    for (const std::unique_ptr<Ac_infile_base>& reader : readers)
        if (!reader->select_wave_size(input_size) || !reader->select_wave(input_wave_number) ||
            !reader->open())
            return stop_run(reader->error_message);

    // A table is read whole before its output file is created, so that what
    // its waves cannot be is refused first. A single wave is read once its
    // output file is open, as it always was, and goes to the converter
    // straight from its reader.
    const bool table_run = request.table_run();
    Wave_table table;
    if (table_run && !read_table(table))
        return false;
    // Whatever the output cannot hold is refused before its file is created.
    writer->sample_rate = sample_rate;
    if (!writer->set_wave_number(output_wave_number) ||
        !writer->set_table_number(request.output_table) ||
        !writer->set_table(written_wave_count(), output_size) || !writer->open())
        return stop_run(writer->error_message);
    Ac_infile_base& reader = *readers.front();
    if (!table_run && !reader.read())
        return stop_run(reader.error_message);
    const std::vector<std::uint64_t> wave_sizes =
        table_run ? table.sizes : std::vector<std::uint64_t>{reader.data_size};

    // All that the conversion and the writer will hold must fit before any
    // of it is taken; the values read are already in memory.
    converter->gain_per_wave = !writer->keeps_levels();
    if (!fits_in_memory(total_bytes({converter->memory_needed(wave_sizes),
                                     writer->memory_needed(bytes_for(wave_sizes.size(),
                                                                     output_size))})))
        return stop_run(not_enough_memory);
    if (table_run)
        converter->set_input(std::move(table.values), table.sizes);
    else
        converter->set_input(reader.data.get(), reader.data_size);
    if (!converter->ok)
        return stop_run(converter->error_message);
    std::cout << "Converting to " << writer->sample_rate << "Hz\n" << std::flush;
    if (!converter->convert())
        return stop_run(converter->error_message);
    // A guard a normal run never reaches: every converter that returns true
    // has its output.
    if (!converter->has_output)
        return stop_run(converter->error_message.empty()
                            ? "Conversion failed: no output was produced."
                            : converter->error_message);

    // The report follows only once the file is complete and at its path.
    if (!writer->set_data(converter->get_output(), converter->output_count()) ||
        !writer->write() || !writer->publish())
        return stop_run(writer->error_message);
    print_success_report();
    return true;
}

std::uint64_t Ac_application::written_wave_count() const
{
    if (request.wave_count != 0)
        return request.wave_count;
    if (!request.table_run())
        return 1;
    std::uint64_t waves = 0;
    for (const std::unique_ptr<Ac_infile_base>& reader : readers)
        waves += reader->wave_count();
    return waves;
}

bool Ac_application::read_table(Wave_table& table)
{
    return read_waves(table) && (request.wave_count == 0 || spread_table(table));
}

bool Ac_application::read_waves(Wave_table& input)
{
    // Every wave of every input, in order.
    for (const std::unique_ptr<Ac_infile_base>& reader : readers) {
        const std::uint64_t waves = reader->wave_count();
        for (std::uint64_t k = 0; k < waves; ++k) {
            if (!reader->select_wave(static_cast<std::uint32_t>(k)))
                return stop_run(reader->error_message);
            if (!reader->read())
                return stop_run(reader->error_message);
            // The waves of a table are of one size: room for all of them at once.
            if (k == 0 && !input.reserve(waves * reader->data_size))
                return stop_run(not_enough_memory);
            if (!input.add(reader->data.get(), reader->data_size))
                return stop_run(not_enough_memory);
            // Crossfading takes waves of one length.
            if (request.wave_count != 0 && reader->data_size != input.sizes.front())
                return stop_run("--wave_count needs waves of one length; " + reader->file_name +
                                " holds waves of " + std::to_string(reader->data_size) +
                                " samples, " + readers.front()->file_name + " of " +
                                std::to_string(input.sizes.front()) + ".");
        }
    }
    return true;
}

bool Ac_application::spread_table(Wave_table& input)
{
    const std::uint64_t size = input.sizes.front();
    if (!fits_in_memory(bytes_for(bytes_for(request.wave_count, size), sizeof(double))))
        return stop_run(not_enough_memory);
    input.values = spread_waves(input.values, input.sizes.size(), size, request.wave_count);
    input.sizes.assign(request.wave_count, size);
    return true;
}

void Ac_application::list_input_waves()
{
    std::string input_format = request.input_format;
    std::string input_type = request.input_type;
    std::string refusal;
    std::unique_ptr<Ac_infile_base> created = create_reader(input_file, input_format, input_type, refusal);
    if (!created) {
        stop_run(refusal);
        return;
    }
    Ac_infile_base* const reader = readers.emplace_back(std::move(created)).get();
    if (!reader->select_wave_size(input_size) || !reader->open()) {
        stop_run(reader->error_message);
        return;
    }
    // Each name is printed as it is made, through the stream's buffer: a file
    // of millions of waves costs no more memory than a file of one.
    std::cout << program_name << ": listing " << (input_type == "harm" ? "spectra" : "waveforms")
              << " from file " << input_file << ":\n";
    const std::uint64_t waves = reader->wave_count();
    for (std::uint64_t position = 0; position < waves; ++position)
        std::cout << reader->wave_name(position) << '\n';
    reader->close();
}

bool Ac_application::stop_run(const std::string& message)
{
    if (success)
        error_message = message;
    success = false;
    return false;
}

void Ac_application::print_error_report() const
{
    if (request.option_error)
        std::cout << "ERROR parsing options:\n" << *request.option_error << '\n';
    // A stage that failed without saying why must still not leave an empty line.
    const std::string& message =
        error_message.empty() ? std::string("The conversion failed for an unknown reason.")
                              : error_message;
    std::cout << program_name << " ERROR:\n" << message << '\n' << std::flush;
}

void Ac_application::print_success_report() const
{
    // The doubled blank in "Wave from  file" and "wave  file" is the report's
    // own, kept word for word: scripts read these lines.
    for (const std::unique_ptr<Ac_infile_base>& reader : readers)
        std::cout << "Converted Wave from  file " << reader->file_name << '\n';
    std::cout << "to wave  file " << output_file << " with " << writer->data_size
              << " samples.\n"
              << std::flush;
}

}  // namespace Vemo
