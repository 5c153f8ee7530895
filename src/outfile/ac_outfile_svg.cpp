#include "outfile/ac_outfile_svg.hpp"

#include "system/memory_budget.hpp"
#include "outfile/svg_picture.hpp"

#include <string>

namespace Vemo {

namespace {

/// `count` and the name of what is counted, singular for one.
std::string counted(std::uint64_t count, const std::string& one, const std::string& many)
{
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

Ac_outfile_svg::Ac_outfile_svg(const std::string& name, const std::string& output_type)
    : Ac_outfile_base(name), draws_spectrum(output_type == "harm")
{
}

Ac_outfile_svg::Ac_outfile_svg(const char* name, const std::string& output_type)
    : Ac_outfile_base(name), draws_spectrum(output_type == "harm")
{
}

std::uint64_t Ac_outfile_svg::memory_needed(std::uint64_t count) const
{
    // The whole picture is built before it is written. A single wave is
    // drawn with all its values; a table holds `wave_count` waves of
    // `count / wave_count` values each.
    const bool table = wave_count > 1;
    return total_bytes({Ac_outfile_base::memory_needed(count),
                        table_picture_bytes(table ? wave_count : 1,
                                            table ? count / wave_count : count)});
}

bool Ac_outfile_svg::write()
{
    if (!ready_to_write())
        return false;
    // A single wave or spectrum is named by its values, a table by its waves
    // and the values of each: "wave: 64 waves of 2048 samples".
    const bool table = wave_count > 1;
    const std::uint64_t size = table ? wave_size() : data_size;
    const std::string values =
        draws_spectrum ? counted(size, "harmonic", "harmonics") : counted(size, "sample", "samples");
    const std::string caption =
        (draws_spectrum ? "harm: " : "wave: ") +
        (table ? std::to_string(wave_count) + (draws_spectrum ? " spectra of " : " waves of ") : "") +
        values;
    const std::uint64_t waves = table ? wave_count : 1;
    const std::string svg = draws_spectrum
                                ? draw_spectrum_table(data.get(), waves, size, caption)
                                : draw_wave_table(data.get(), waves, size, caption);
    return write_bytes(svg.data(), svg.size());
}

}  // namespace Vemo
