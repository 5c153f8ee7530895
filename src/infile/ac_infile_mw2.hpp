#pragma once

#include "stage/ac_infile_base.hpp"

#include <cstdint>
#include <fstream>
#include <vector>

namespace Vemo {

/// Reads Microwave II/XT wave dump files. A file may hold any number of wave
/// dump messages among other SysEx data; each one is a wave, selected by its
/// position among them (counted from 0) and read as a full 128-sample cycle
/// of unscaled sample values.
class Ac_infile_mw2 : public Ac_infile_base {
public:
    using Ac_infile_base::Ac_infile_base;
    ~Ac_infile_mw2() override;

    void close() override;
    /// Loads the whole file and finds its wave dump messages.
    bool open() override;
    /// Decodes the selected message into 128 values.
    bool read() override;
    /// The number of messages found (0 before `open`).
    std::uint32_t wave_count() override;
    /// "<position> USER#<n>", "<position> ROM#<n>" or "<position> illegal#<n>"
    /// for each message, in file order.
    std::vector<std::string> list_waves() override;
    /// Selects a message by position; whether it exists is known only after
    /// `open`, so `read` checks it.
    bool select_wave(std::uint32_t n) override;

    std::ifstream file_stream;
    /// Set while the file is open and holds at least one message.
    bool has_waves = false;
    std::vector<std::uint8_t> sysex_data;
    std::uint64_t sysex_size = 0;
    std::uint32_t dump_count = 0;
    /// The wave number of each message, in file order.
    std::vector<std::uint32_t> dump_wave_numbers;
    /// Where each message begins (its F0) in `sysex_data`.
    std::vector<std::uint64_t> dump_offsets;

private:
    /// Reads the whole open file into `sysex_data`.
    bool load();
    /// Finds every complete wave dump message in `sysex_data`.
    void scan();
};

}  // namespace Vemo
