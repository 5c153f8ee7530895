#pragma once

#include "stage/stage_status.hpp"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace Vemo {

/// A converter turns the reader's values into exactly `output_size` values of
/// the requested type for each wave it is given: one wave, or every wave of a
/// table, converted alike and written one after another. It works on its own
/// values: `set_input` copies one wave in or takes over a table read for it,
/// and `get_output` lends the result to the writer.
class Ac_convert_base : public Stage_status {
public:
    explicit Ac_convert_base(std::uint64_t output_size);
    Ac_convert_base(std::uint64_t output_size, double threshold);
    virtual ~Ac_convert_base() = default;
    Ac_convert_base(const Ac_convert_base&) = delete;
    Ac_convert_base& operator=(const Ac_convert_base&) = delete;

    /// Computes `output_data` from `input_data` and sets `has_output`.
    virtual bool convert() = 0;
    /// The bytes that converting waves of `wave_sizes` values takes at most:
    /// the copy of the input, the output and the conversion's working storage.
    virtual std::uint64_t memory_needed(std::span<const std::uint64_t> wave_sizes) const;

    /// Copies one wave in; a value that is not a finite number makes the
    /// converter unusable, since no conversion could give a sound result.
    void set_input(const double* values, std::uint64_t count);
    /// Takes over the waves of a table, one after another, wave k
    /// `wave_sizes[k]` values long: a table is large, and a copy of it would
    /// be one more for the memory to hold.
    void set_input(std::vector<double>&& values, std::span<const std::uint64_t> wave_sizes);
    /// The result, or null unless a conversion succeeded.
    const double* get_output() const;
    /// How many values the result holds: `output_size` for each wave.
    std::uint64_t output_count() const;

    std::uint64_t output_size;
    std::uint64_t input_size = 0;
    double threshold = 0.0;
    std::vector<double> input_data;
    std::unique_ptr<double[]> output_data;
    bool has_output = false;
    /// The number of values of each wave of the input, in order.
    std::vector<std::uint64_t> wave_sizes;
    /// Where a converter brings its waves to a peak of 1: each by its own
    /// peak, for a format that keeps no level, rather than the whole table
    /// by its largest, so that the waves keep their levels.
    bool gain_per_wave = false;

protected:
    /// The check before a conversion: an unusable converter fails at once
    /// with its first message, one without input says so.
    bool ready_to_convert();
    /// Allocates `output_data` with `output_size` zeros for each wave, or
    /// fails for want of memory.
    bool allocate_output();
    const double* input_wave(std::uint64_t wave) const;
    double* output_wave(std::uint64_t wave);
    /// Brings the output to a peak of exactly 1, as one table or wave by
    /// wave (`gain_per_wave`). Wave k's output holds its true values times
    /// 2 to the `scales[k]`, the power of two its converter worked at (none
    /// given: 1). A wave whose peak is no larger than `noise[k]` (none given:
    /// 0), the rounding error it may carry, holds nothing but that error and
    /// becomes silent; a silent table stays silent. Every value is divided,
    /// so that a table of one wave gives what that wave gives alone.
    void normalise_output(std::span<const int> scales = {}, std::span<const double> noise = {});
    /// Marks the output as delivered, unless a value in it is not finite.
    bool deliver_output();

private:
    /// Where each wave of the input begins.
    std::vector<std::uint64_t> wave_offsets;
};

}  // namespace Vemo
