#include "outfile/ac_outfile_mw2.hpp"

#include "convert/sine_sum.hpp"

#include <algorithm>

namespace Vemo {

Ac_outfile_mw2::Ac_outfile_mw2(const std::string& name) : Ac_outfile_base(name)
{
    wave_number = mw2_first_user_wave;
}

Ac_outfile_mw2::Ac_outfile_mw2(const char* name) : Ac_outfile_mw2(std::string(name)) {}

bool Ac_outfile_mw2::write()
{
    if (!ready_to_write())
        return false;
    const std::string number = std::to_string(wave_number);
    if (wave_number < mw2_first_user_wave) {
        message_ready = false;
        return fail("Can't write wave number " + number +
                    " It's not a user wave. User waves start at 1000.");
    }
    if (wave_number > mw2_last_wave_number) {
        message_ready = false;
        return fail("Can't write wave number " + number +
                    " It doesn't fit into a wave dump. Wave numbers end at 16383.");
    }
    message = mw2_build_message(wave_number, synthesise_samples());
    message_ready = true;
    return write_bytes(message.data(), message.size());
}

std::array<double, mw2_stored_samples> Ac_outfile_mw2::synthesise_samples() const
{
    // Only the first 64 harmonics take part; the rest cannot be told apart
    // from lower ones at 128 samples per cycle. Sample i lies at the centre
    // (i + 0.5) / 128 of the cycle, so the stored half and the mirrored second
    // half form one continuous sum of sines.
    const std::uint64_t harmonics = std::min<std::uint64_t>(data_size, mw2_stored_samples);
    const Sine_sum sines(data.get(), harmonics, 0.0, mw2_cycle_samples, 0.5);
    std::array<double, mw2_stored_samples> samples{};
    sines.sum(samples.data(), 0, samples.size());
    // The level of the spectrum is lost: the largest sample becomes ±1 and
    // keeps its sign. A silent spectrum, or one whose sum is nothing but
    // rounding error, gives a silent wave.
    sines.normalise(samples.data(), samples.size());
    return samples;
}

}  // namespace Vemo
