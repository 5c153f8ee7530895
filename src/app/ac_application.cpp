#include "app/ac_application.hpp"

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
        success = parse_options(argc, argv);
    } catch (const std::exception& error) {
        success = refuse(describe(error));
    }
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
    if (reader) {
        reader->close();
        reader.reset();
    }
}

bool Ac_application::run()
{
    if (!finished) {
        try {
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

bool Ac_application::convert_once()
{
    if (!reader)
        return stop_run(error_message.empty() ? "Could not create input file " + input_file
                                              : error_message);
    if (!reader->select_wave_size(input_size) || !reader->select_wave(input_wave_number) ||
        !reader->open())
        return stop_run(reader->error_message);
    if (!writer)
        return stop_run(error_message.empty() ? "Could not open outputfile " + output_file
                                              : error_message);
    writer->sample_rate = sample_rate;
    if (!writer->set_wave_number(output_wave_number) || !writer->open())
        return stop_run(writer->error_message);
    if (!reader->read())
        return stop_run(reader->error_message);
    // All that the conversion and the writer will hold must fit before any
    // of it is taken; the reader's values are already in memory.
    if (!fits_in_memory(total_bytes({converter->memory_needed(reader->data_size),
                                     writer->memory_needed(converter->output_size)})))
        return stop_run(not_enough_memory);

    converter->set_input(reader->data.get(), reader->data_size);
    if (!converter->ok)
        return stop_run(converter->error_message);
    std::cout << "Converting to " << writer->sample_rate << "Hz\n" << std::flush;
    if (!converter->convert())
        return stop_run(converter->error_message);
    if (!converter->has_output)
        return stop_run(converter->error_message.empty()
                            ? "Conversion failed: no output was produced."
                            : converter->error_message);

    // The report follows only once the file is complete and at its path.
    if (!writer->set_data(converter->get_output(), converter->output_size) ||
        !writer->write() || !writer->publish())
        return stop_run(writer->error_message);
    print_success_report();
    return true;
}

bool Ac_application::refuse(std::string message)
{
    finished = true;
    return stop_run(message);
}

bool Ac_application::stop_run(const std::string& message)
{
    success = false;
    error_message = message;
    return false;
}

void Ac_application::print_error_report() const
{
    if (option_error_explanation)
        std::cout << "ERROR parsing options:\n" << *option_error_explanation << '\n';
    // A stage that failed without saying why must still not leave an empty line.
    const std::string& message =
        error_message.empty() ? std::string("The conversion failed for an unknown reason.")
                              : error_message;
    std::cout << program_name << " ERROR:\n" << message << '\n' << std::flush;
}

void Ac_application::print_success_report() const
{
    std::cout << "Converted " << "Wave " << "from " << " file " << input_file << '\n'
              << std::flush;
    std::cout << "to " << "wave " << " file " << output_file << " with " << writer->data_size
              << " samples." << '\n'
              << std::flush;
}

}  // namespace Vemo
