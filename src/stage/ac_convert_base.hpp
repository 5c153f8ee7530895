#pragma once

#include "stage/stage_status.hpp"

#include <cstdint>
#include <memory>
#include <string>

namespace Vemo {

/// A converter turns the reader's values into exactly `output_size` values of
/// the requested type. It works on its own copies: `set_input` copies the
/// reader's values in, and `get_output` lends the result to the writer.
class Ac_convert_base : public Stage_status {
public:
    explicit Ac_convert_base(std::uint64_t output_size);
    Ac_convert_base(std::uint64_t output_size, double threshold);
    virtual ~Ac_convert_base() = default;
    Ac_convert_base(const Ac_convert_base&) = delete;
    Ac_convert_base& operator=(const Ac_convert_base&) = delete;

    /// Computes `output_data` from `input_data` and sets `has_output`.
    virtual bool convert() = 0;
    /// The bytes that converting `input_count` values takes at most: the copy
    /// of the input, the output and the conversion's working storage.
    virtual std::uint64_t memory_needed(std::uint64_t input_count) const;

    /// Copies the values in; a value that is not a finite number makes the
    /// converter unusable, since no conversion could give a sound result.
    void set_input(const double* values, std::uint64_t count);
    /// The result, or null unless a conversion succeeded.
    const double* get_output() const;

    std::uint64_t output_size;
    std::uint64_t input_size = 0;
    double threshold = 0.0;
    std::unique_ptr<double[]> input_data;
    std::unique_ptr<double[]> output_data;
    bool has_output = false;

protected:
    /// The check before a conversion: an unusable converter fails at once
    /// with its first message, one without input says so.
    bool ready_to_convert();
    /// Allocates `output_data` with `output_size` zeros, or fails for want
    /// of memory.
    bool allocate_output();
    /// Divides every output value by the largest absolute one, so the peak
    /// becomes exactly 1. A silent result stays all zeros.
    void normalise_output_to_peak();
    /// Marks the output as delivered, unless a value in it is not finite.
    bool deliver_output();
};

}  // namespace Vemo
