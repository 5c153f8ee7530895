#pragma once

#include "stage/ac_convert_base.hpp"
#include "stage/ac_infile_base.hpp"
#include "stage/ac_outfile_base.hpp"

#include <cstdint>
#include <memory>
#include <string>

namespace Vemo {

// Turns the user's file names, formats and types into the three stages of a
// conversion, through one table each. A format left empty is named by the
// file's extension; a type that the format implies is set, whatever the user
// gave. What cannot be done is refused with the message the user sees, and
// no stage.

/// The reader of `file_name` in `format`; completes `format` and `type`.
std::unique_ptr<Ac_infile_base> create_reader(const std::string& file_name,
                                              std::string& format, std::string& type,
                                              std::string& refusal);

/// The writer of `file_name` in `format`; completes `format` and `type`. A
/// format that holds a fixed number of values sets `output_size` to it, and
/// one that numbers its waves sets a `wave_number` of 0 to its default.
std::unique_ptr<Ac_outfile_base> create_writer(const std::string& file_name,
                                               std::string& format, std::string& type,
                                               std::uint64_t& output_size,
                                               std::uint32_t& wave_number,
                                               std::string& refusal);

/// The converter from `input_type` to `output_type`, making `output_size`
/// values with the zero `threshold`.
std::unique_ptr<Ac_convert_base> choose_converter(const std::string& input_type,
                                                  const std::string& output_type,
                                                  std::uint64_t output_size, double threshold,
                                                  std::string& refusal);

}  // namespace Vemo
