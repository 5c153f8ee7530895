#include "outfile/ac_outfile_mw2.hpp"

#include "app/stages/value_array.hpp"
#include "convert/sine_sum.hpp"

#include <algorithm>
#include <cmath>

namespace Vemo {

namespace {

/// A power of two small enough that 64 harmonics of the largest doubles sum
/// to a finite value; scaling by it changes no bit of the normalised result.
constexpr double overflow_scale = 1.0 / 65536.0;

/// The 64 stored samples, at the centres (i + 0.5) / 128 of the cycle, of the
/// sum of sines of `harmonics`. The stored half and the mirrored second half
/// thus form one continuous sum of sines.
std::array<double, mw2_stored_samples> sum_of_sines(const Sine_sum& harmonics)
{
    std::array<double, mw2_stored_samples> samples{};
    harmonics.sum(samples.data(), 0, samples.size());
    return samples;
}

}  // namespace

Ac_outfile_mw2::Ac_outfile_mw2(const std::string& name) : Ac_outfile_base(name)
{
    wave_number = mw2_first_user_wave;
}

Ac_outfile_mw2::Ac_outfile_mw2(const char* name) : Ac_outfile_mw2(std::string(name)) {}

Ac_outfile_mw2::~Ac_outfile_mw2() { close(); }

bool Ac_outfile_mw2::open() { return open_new_file(); }

void Ac_outfile_mw2::close() { close_file(); }

bool Ac_outfile_mw2::write()
{
    if (!ok || !is_open)
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
    // from lower ones at 128 samples per cycle.
    const std::uint64_t harmonics = std::min<std::uint64_t>(data_size, mw2_stored_samples);
    Sine_sum sines(data.get(), harmonics, 0.0, mw2_cycle_samples, 0.5);
    std::array<double, mw2_stored_samples> samples = sum_of_sines(sines);
    // Amplitudes near the largest double can overflow the sum; the level is
    // normalised away anyway, so sum them at a smaller scale instead.
    if (std::isinf(peak_of(samples.data(), samples.size()))) {
        std::array<double, mw2_stored_samples> scaled{};
        for (std::uint64_t k = 0; k < harmonics; ++k)
            scaled[k] = data[k] * overflow_scale;
        sines = Sine_sum(scaled.data(), harmonics, 0.0, mw2_cycle_samples, 0.5);
        samples = sum_of_sines(sines);
    }
    // The level of the spectrum is lost: the largest sample becomes ±1 and
    // keeps its sign. A silent spectrum stays silent.
    sines.normalise(samples.data(), samples.size());
    return samples;
}

}  // namespace Vemo
