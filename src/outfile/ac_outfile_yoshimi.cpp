#include "outfile/ac_outfile_yoshimi.hpp"

#include <algorithm>
#include <cmath>
#include <string>

namespace Vemo {

namespace {

/// Yoshimi's oscillator has 128 harmonics; the script names no others.
constexpr std::uint64_t harmonic_limit = 128;

/// Amplitudes are rounded to whole steps of 1/63 around the middle value 64.
/// Steps beyond this many cannot be held as a whole number; they only come
/// from amplitudes far outside -1 ... 1, or from values that are not numbers.
constexpr double step_limit = 0x1p52;

}  // namespace

bool Ac_outfile_yoshimi::set_table(std::uint64_t waves, std::uint64_t size)
{
    Ac_outfile_base::set_table(waves, size);
    return waves < 2 || fail("A Yoshimi script holds one wave; this table has " +
                             std::to_string(waves) + ".");
}

bool Ac_outfile_yoshimi::write()
{
    if (!ready_to_write())
        return false;

    // The whole script is checked and built before anything reaches the file.
    std::string script;
    const std::uint64_t harmonics = std::min(data_size, harmonic_limit);
    for (std::uint64_t i = 0; i < harmonics; ++i) {
        // std::round rounds halves away from zero.
        const double steps = std::round(63.0 * data[i]);
        if (!(std::fabs(steps) <= step_limit))
            return fail(file_name + ": the amplitude of harmonic " + std::to_string(i + 1) +
                        " is too large or not a number.");
        const auto value = static_cast<std::int64_t>(steps);
        // A harmonic that rounds to the middle value is left as it is.
        if (value == 0)
            continue;
        script += "s ha " + std::to_string(i + 1) + " a " + std::to_string(value + 64) + "\n";
    }
    return write_bytes(script.data(), script.size());
}

}  // namespace Vemo
