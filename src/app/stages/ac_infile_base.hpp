#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace Vemo {

/// A reader loads one wave or spectrum from an input file into `data`.
/// Failures are reported by result: an operation returns false and leaves a
/// complete message in `error_message`; once `ok` is false the reader stays
/// unusable and keeps the first message.
class Ac_infile_base {
public:
    /// Stores the name and checks that the path is an existing regular file.
    explicit Ac_infile_base(const std::string& file_name);
    explicit Ac_infile_base(const char* file_name);
    virtual ~Ac_infile_base() = default;
    Ac_infile_base(const Ac_infile_base&) = delete;
    Ac_infile_base& operator=(const Ac_infile_base&) = delete;

    /// Closes the file if it is open; may be called any number of times.
    virtual void close() = 0;
    /// Opens the file and checks what the format requires before reading.
    virtual bool open() = 0;
    /// Loads the selected wave or spectrum into `data` and `data_size`.
    virtual bool read() = 0;
    virtual std::uint32_t wave_count();
    /// One display name per wave that the file holds.
    virtual std::vector<std::string> list_waves();
    /// Chooses the wave that the following `read` loads.
    virtual bool select_wave(std::uint32_t n);
    /// Chooses how many samples one wave has, for a file that holds several
    /// of one size back to back (0: the file decides); readers of formats
    /// without such files keep this default, which ignores it.
    virtual bool select_wave_size(std::uint64_t samples);

    const std::string file_name;
    std::string error_message;
    bool is_open = false;
    bool ok = true;
    std::uint32_t wave_number = 0;
    std::unique_ptr<double[]> data;
    std::uint64_t data_size = 0;

protected:
    /// Makes the reader unusable with `message`; returns false for `return fail(...)`.
    bool fail(std::string message);
    /// Hands over the values read, in file order.
    void store_data(const std::vector<double>& values);
    /// The open that readers of stream files share: true when already open,
    /// false when unusable, otherwise opens `stream` on the file for reading.
    bool open_stream(std::ifstream& stream);
    /// Closes `stream` if it is open and marks the reader closed.
    void close_stream(std::ifstream& stream);
};

}  // namespace Vemo
