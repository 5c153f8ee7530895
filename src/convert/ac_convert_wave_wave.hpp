#pragma once

#include "stage/ac_convert_base.hpp"

#include <span>
#include <string>

namespace Vemo {

/// Resizes wave cycles by band-limited resampling, treating each as the
/// periodic signal it is, and normalises them to a peak of 1 (the whole
/// table, or each wave). A cycle of the size asked for is only normalised,
/// in double precision.
class Ac_convert_wave_wave : public Ac_convert_base {
public:
    using Ac_convert_base::Ac_convert_base;

    bool convert() override;
    std::uint64_t memory_needed(std::span<const std::uint64_t> wave_sizes) const override;
};

/// The number of cycle copies that `resample_cycle` needs: odd, and enough
/// that the resampler's filter never reaches the ends from the middle copy.
std::uint64_t copies_for_resampling(std::uint64_t input_size, std::uint64_t output_size);

/// Resamples `copies` copies of the cycle `input[0 .. input_size)` in a row,
/// in single precision, at the scale 2 to the `scale`, and keeps the
/// `output_size` samples of the middle copy in `output`, at that scale.
/// Returns 0, or the resampler's error code.
int resample_cycle(const double* input, std::uint64_t input_size, double* output,
                   std::uint64_t output_size, std::uint64_t copies, int scale);

}  // namespace Vemo
