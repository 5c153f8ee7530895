#pragma once

#include "stage/stage_status.hpp"

#include <cstdint>
#include <fstream>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace Vemo {

/// A reader loads one wave or spectrum from an input file into `data`.
class Ac_infile_base : public Stage_status {
public:
    /// Stores the name and checks that the path is an existing regular file.
    explicit Ac_infile_base(const std::string& file_name);
    explicit Ac_infile_base(const char* file_name);
    virtual ~Ac_infile_base() = default;
    Ac_infile_base(const Ac_infile_base&) = delete;
    Ac_infile_base& operator=(const Ac_infile_base&) = delete;

    /// Closes the file if it is open; may be called any number of times.
    virtual void close() = 0;
    /// Opens the file and checks what the format requires before reading:
    /// among it, that the file holds the selected wave.
    virtual bool open() = 0;
    /// Loads the selected wave or spectrum into `data` and `data_size`.
    virtual bool read() = 0;
    /// How many waves the open file holds: known once it is open.
    virtual std::uint64_t wave_count();
    /// The display name of the wave at `position` (counted from 0) of the
    /// open file: "<position> frame#<position + 1>" for a wave of a table,
    /// "Default" for a file of one wave.
    virtual std::string wave_name(std::uint64_t position);
    /// The display names of all waves, in file order: for files of few waves,
    /// since a listing prints each name as it is made.
    std::vector<std::string> list_waves();
    /// Chooses the wave that the following `read` loads, by its position
    /// among the file's waves. Before `open`, which checks it, any number is
    /// taken; once the file is open, only a wave it holds.
    virtual bool select_wave(std::uint32_t n);
    /// Chooses how many samples one wave has, for a file that holds several
    /// of one size back to back (0: the file decides); readers of formats
    /// without such files never look at it.
    virtual bool select_wave_size(std::uint64_t samples);

    const std::string file_name;
    bool is_open = false;
    std::uint32_t wave_number = 0;
    std::unique_ptr<double[]> data;
    std::uint64_t data_size = 0;

protected:
    /// The check before a read: an unusable reader fails at once with its
    /// first message, one that is not open says so.
    bool ready_to_read();
    /// Whether the file holds the selected wave; fails, naming the waves it
    /// holds, when it does not.
    bool holds_selected_wave();
    /// The name of the wave at `position` of a wavetable:
    /// "<position> frame#<position + 1>".
    static std::string frame_name(std::uint64_t position);

    /// The wave size from the command line; 0 when the file decides.
    std::uint64_t given_wave_size = 0;
    /// How many waves the open file holds, as its reader found them.
    std::uint64_t waves = 1;
    /// Hands over the values read, in file order, or fails for want of memory.
    bool store_data(std::span<const double> values);
    /// The open that readers of stream files share: true when already open,
    /// false when unusable, otherwise opens `stream` on the file for reading.
    bool open_stream(std::ifstream& stream);
    /// Closes `stream` if it is open and marks the reader closed.
    void close_stream(std::ifstream& stream);
};

}  // namespace Vemo
