#include "outfile/ac_outfile_mw2.hpp"

#include "app/stages/value_array.hpp"

#include <algorithm>
#include <cmath>

namespace Vemo {

namespace {

/// A power of two small enough that 64 harmonics of the largest doubles sum
/// to a finite value; scaling by it changes no bit of the normalised result.
constexpr double overflow_scale = 1.0 / 65536.0;

/// The 64 sums of sines for the amplitudes `harmonics[0 .. count)`, each
/// amplitude multiplied by `scale` first.
std::array<double, mw2_stored_samples> sum_of_sines(const double* harmonics, std::uint64_t count,
                                                    double scale)
{
    std::array<double, mw2_stored_samples> samples{};
    for (std::size_t i = 0; i < mw2_stored_samples; ++i) {
        // Sample i lies at the centre (i + 0.5) / 128 of the cycle, so the
        // stored half and the mirrored second half form one continuous sum of
        // sines. The products are formed left to right, exactly as written,
        // so that the result is the same on every build.
        const double phase = (static_cast<double>(i) + 0.5) * 6.283185307179586;
        for (std::uint64_t j = 1; j <= count; ++j)
            samples[i] = samples[i] +
                         std::sin(static_cast<double>(j) * phase * 0.0078125) *
                             (harmonics[j - 1] * scale);
    }
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
    // from lower ones at 128 samples per cycle.
    const std::uint64_t harmonics = std::min<std::uint64_t>(data_size, mw2_stored_samples);
    std::array<double, mw2_stored_samples> samples = sum_of_sines(data.get(), harmonics, 1.0);
    double peak = peak_of(samples.data(), samples.size());
    // Amplitudes near the largest double can overflow the sum; the level is
    // normalised away anyway, so sum them at a smaller scale instead.
    if (std::isinf(peak)) {
        samples = sum_of_sines(data.get(), harmonics, overflow_scale);
        peak = peak_of(samples.data(), samples.size());
    }
    // The level of the spectrum is lost: the largest sample becomes ±1 and
    // keeps its sign. A silent spectrum stays silent.
    if (peak > 0.0)
        for (double& sample : samples)
            sample = sample / peak;
    return samples;
}

}  // namespace Vemo
