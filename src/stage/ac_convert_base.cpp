#include "stage/ac_convert_base.hpp"

#include "stage/value_array.hpp"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace Vemo {

namespace {

/// A wave's peak as the power of two of its true value and the factor from
/// 1 to 2 by which it exceeds that: comparable across waves worked at other
/// scales without ever leaving the range of doubles.
struct Level {
    int exponent = 0;
    /// 0 for silence, which is quieter than any sound.
    double factor = 0.0;
    bool operator<(const Level& other) const
    {
        if (other.factor == 0.0 || factor == 0.0)
            return other.factor != 0.0;
        return exponent != other.exponent ? exponent < other.exponent : factor < other.factor;
    }
};

Level level_of(double peak, int scale)
{
    if (peak == 0.0)
        return {};
    const int exponent = std::ilogb(peak);
    return {exponent - scale, std::scalbn(peak, -exponent)};
}

}  // namespace

Ac_convert_base::Ac_convert_base(std::uint64_t size) : Ac_convert_base(size, 0.0) {}

Ac_convert_base::Ac_convert_base(std::uint64_t size, double zero_threshold)
    : output_size(size), threshold(zero_threshold)
{
}

void Ac_convert_base::set_input(const double* values, std::uint64_t count)
{
    std::vector<double> copy;
    if (!fits_in_memory(bytes_for(count, sizeof(double))))
        return void(fail(not_enough_memory));
    copy.assign(values, values + count);
    set_input(std::move(copy), std::span<const std::uint64_t>(&count, 1));
}

void Ac_convert_base::set_input(std::vector<double>&& values,
                                std::span<const std::uint64_t> sizes)
{
    wave_sizes.assign(sizes.begin(), sizes.end());
    wave_offsets.resize(sizes.size());
    std::exclusive_scan(sizes.begin(), sizes.end(), wave_offsets.begin(), std::uint64_t{0});
    input_data = std::move(values);
    input_size = input_data.size();
    if (!all_finite(input_data.data(), input_size))
        fail("The input holds a value that is not a finite number.");
}

std::uint64_t Ac_convert_base::memory_needed(std::span<const std::uint64_t> sizes) const
{
    const std::uint64_t count = std::accumulate(sizes.begin(), sizes.end(), std::uint64_t{0});
    return total_bytes({bytes_for(count, sizeof(double)),
                        bytes_for(bytes_for(sizes.size(), output_size), sizeof(double))});
}

const double* Ac_convert_base::get_output() const
{
    return has_output && ok ? output_data.get() : nullptr;
}

std::uint64_t Ac_convert_base::output_count() const { return wave_sizes.size() * output_size; }

bool Ac_convert_base::ready_to_convert()
{
    if (!ok)
        return false;
    // A normal run always gives input first; the message is kept word for
    // word, odd as it reads.
    return !wave_sizes.empty() || fail("There is no input, although input for conversion.");
}

bool Ac_convert_base::allocate_output()
{
    output_data = make_value_array(output_count());
    return output_data || fail(not_enough_memory);
}

const double* Ac_convert_base::input_wave(std::uint64_t wave) const
{
    return input_data.data() + wave_offsets[wave];
}

double* Ac_convert_base::output_wave(std::uint64_t wave)
{
    return output_data.get() + wave * output_size;
}

void Ac_convert_base::normalise_output(std::span<const int> scales, std::span<const double> noise)
{
    const std::uint64_t waves = wave_sizes.size();
    const auto scale = [&](std::uint64_t k) { return scales.empty() ? 0 : scales[k]; };
    std::vector<double> peaks(waves);
    std::uint64_t loudest = 0;
    for (std::uint64_t k = 0; k < waves; ++k) {
        peaks[k] = peak_of(output_wave(k), output_size);
        if (peaks[k] != 0.0 && peaks[k] <= (noise.empty() ? 0.0 : noise[k])) {
            std::fill(output_wave(k), output_wave(k) + output_size, 0.0);
            peaks[k] = 0.0;
        }
        if (level_of(peaks[loudest], scale(loudest)) < level_of(peaks[k], scale(k)))
            loudest = k;
    }
    // The loudest wave is divided by its own peak; the others by the same
    // level, at the scale they were worked at.
    for (std::uint64_t k = 0; k < waves; ++k) {
        const double divisor = gain_per_wave ? peaks[k]
                                             : std::ldexp(peaks[loudest], scale(k) - scale(loudest));
        if (divisor != 0.0)
            divide_by(output_wave(k), output_size, divisor);
    }
}

bool Ac_convert_base::deliver_output()
{
    if (!all_finite(output_data.get(), output_count()))
        return fail("The conversion produced a value that is not a finite number.");
    has_output = true;
    return true;
}

}  // namespace Vemo
