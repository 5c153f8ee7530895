#pragma once

#include "stage/ac_outfile_base.hpp"
#include "formats/mw2_wave_dump.hpp"

namespace Vemo {

/// Writes a spectrum as one Microwave II/XT user wave: the first half of a
/// 128-sample cycle is synthesised as a sum of sines, normalised to full
/// scale and stored as a single 137-byte wave dump message.
class Ac_outfile_mw2 : public Ac_outfile_base {
public:
    /// A writer whose wave number is never set stores user wave 1000.
    explicit Ac_outfile_mw2(const std::string& file_name);
    explicit Ac_outfile_mw2(const char* file_name);

    /// Builds the message from `data` (harmonic amplitudes, the fundamental
    /// first) and `wave_number`, and writes it. Refuses numbers that are not
    /// user waves or do not fit into the message.
    bool write() override;

    Mw2_message message{};
    /// Set once the 64 samples of `message` have been computed.
    bool message_ready = false;

private:
    /// The 64 stored samples, normalised so the largest is exactly ±1, or
    /// all 0 for a silent spectrum.
    std::array<double, mw2_stored_samples> synthesise_samples() const;
};

}  // namespace Vemo
