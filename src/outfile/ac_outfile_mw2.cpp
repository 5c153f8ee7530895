#include "outfile/ac_outfile_mw2.hpp"

#include "convert/sine_sum.hpp"

#include <algorithm>

namespace Vemo {

Ac_outfile_mw2::Ac_outfile_mw2(const std::string& name) : Ac_outfile_base(name)
{
    wave_number = mw2_first_user_wave;
}

Ac_outfile_mw2::Ac_outfile_mw2(const char* name) : Ac_outfile_mw2(std::string(name)) {}

bool Ac_outfile_mw2::set_table_number(std::uint32_t n)
{
    table_number = n;
    return true;
}

bool Ac_outfile_mw2::set_table(std::uint64_t waves, std::uint64_t size)
{
    Ac_outfile_base::set_table(waves, size);
    // A table's wave numbers are refused before its file is created; a
    // single wave's when it is written, as they always were.
    if (waves >= 2 && !numbers_fit())
        return false;
    if (table_number != 0 && waves > mw2_wavetable_most_waves)
        return fail("A Microwave II/XT wavetable holds at most " +
                    std::to_string(mw2_wavetable_most_waves) + " waves; this table has " +
                    std::to_string(waves) + ". --wave_count 61 makes it fit.");
    return true;
}

bool Ac_outfile_mw2::numbers_fit()
{
    if (wave_number < mw2_first_user_wave) {
        message_ready = false;
        return fail("Can't write wave number " + std::to_string(wave_number) +
                    " It's not a user wave. User waves start at 1000.");
    }
    // The numbers run from `wave_number` on, one for each wave.
    const std::uint64_t last = wave_number + wave_count - 1;
    if (last > mw2_last_wave_number) {
        message_ready = false;
        const std::uint64_t first_beyond = std::max<std::uint64_t>(wave_number, mw2_last_wave_number + 1);
        return fail("Can't write wave number " + std::to_string(first_beyond) +
                    " It doesn't fit into a wave dump. Wave numbers end at 16383.");
    }
    return true;
}

bool Ac_outfile_mw2::write()
{
    if (!ready_to_write() || !numbers_fit())
        return false;
    // The wavetable first, then its waves, as the synth's own bank files
    // hold them.
    if (table_number != 0) {
        const Mw2_wavetable_dump table =
            mw2_build_wavetable_dump(table_number, wave_number, wave_count);
        if (!write_bytes(table.data(), table.size()))
            return false;
    }
    for (std::uint64_t k = 0; k < wave_count; ++k) {
        message = mw2_build_message(static_cast<std::uint32_t>(wave_number + k),
                                    synthesise_samples(data.get() + k * wave_size(), wave_size()));
        message_ready = true;
        if (!write_bytes(message.data(), message.size()))
            return false;
    }
    return true;
}

std::array<double, mw2_stored_samples> Ac_outfile_mw2::synthesise_samples(
    const double* amplitudes, std::uint64_t count) const
{
    // Only the first 64 harmonics take part; the rest cannot be told apart
    // from lower ones at 128 samples per cycle. Sample i lies at the centre
    // (i + 0.5) / 128 of the cycle, so the stored half and the mirrored second
    // half form one continuous sum of sines.
    const std::uint64_t harmonics = std::min<std::uint64_t>(count, mw2_stored_samples);
    const Sine_sum sines(amplitudes, harmonics, 0.0, mw2_cycle_samples, 0.5);
    std::array<double, mw2_stored_samples> samples{};
    sines.sum(samples.data(), 0, samples.size());
    // The level of the spectrum is lost: the largest sample becomes ±1 and
    // keeps its sign. A silent spectrum, or one whose sum is nothing but
    // rounding error, gives a silent wave.
    sines.normalise(samples.data(), samples.size());
    return samples;
}

}  // namespace Vemo
