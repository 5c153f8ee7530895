#pragma once

#include "stage/ac_outfile_base.hpp"
#include "formats/mw2_wave_dump.hpp"

namespace Vemo {

/// Writes a spectrum as one Microwave II/XT user wave: the first half of a
/// 128-sample cycle is synthesised as a sum of sines, normalised to full
/// scale and stored as a 137-byte wave dump message. A table of spectra
/// becomes one message for each, numbered upward, one after another; with a
/// `table_number`, a wavetable dump that plays them comes first.
class Ac_outfile_mw2 : public Ac_outfile_base {
public:
    /// A writer whose wave number is never set stores user wave 1000.
    explicit Ac_outfile_mw2(const std::string& file_name);
    explicit Ac_outfile_mw2(const char* file_name);

    /// Builds a message for each wave of `data` (harmonic amplitudes, the
    /// fundamental first), numbered from `wave_number` on, and writes them.
    /// Refuses numbers that are not user waves or do not fit into a message.
    bool write() override;
    /// Refuses a table whose wave numbers do not all fit, or that a
    /// wavetable cannot hold.
    bool set_table(std::uint64_t waves, std::uint64_t wave_size) override;
    bool set_table_number(std::uint32_t n) override;
    /// A dump keeps no level: each wave is stored at full scale.
    bool keeps_levels() const override { return false; }

    /// The user wavetable that plays the waves written; 0 for none.
    std::uint32_t table_number = 0;
    /// The message written last.
    Mw2_message message{};
    /// Set once the 64 samples of `message` have been computed.
    bool message_ready = false;

private:
    /// Whether every wave's number is a user wave's that a message holds.
    bool numbers_fit();
    /// The 64 stored samples of the `count` harmonic `amplitudes`,
    /// normalised so the largest is exactly ±1, or all 0 for silence.
    std::array<double, mw2_stored_samples> synthesise_samples(const double* amplitudes,
                                                               std::uint64_t count) const;
};

}  // namespace Vemo
