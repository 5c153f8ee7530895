#include "outfile/ac_outfile_svg.hpp"

#include "system/memory_budget.hpp"
#include "outfile/svg_picture.hpp"

#include <string>

namespace Vemo {

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
    // The whole picture is built before it is written; a bar or a point of
    // the curve takes at most 20 characters, the frame and labels less than
    // the 2 KiB set aside for them.
    return total_bytes({Ac_outfile_base::memory_needed(count), bytes_for(count, 20), 2048});
}

bool Ac_outfile_svg::write()
{
    if (!ready_to_write())
        return false;
    const std::string count = std::to_string(data_size);
    const std::string svg =
        draws_spectrum
            ? draw_spectrum(data.get(), data_size,
                            "harm: " + count + (data_size == 1 ? " harmonic" : " harmonics"))
            : draw_wave(data.get(), data_size,
                        "wave: " + count + (data_size == 1 ? " sample" : " samples"));
    return write_bytes(svg.data(), svg.size());
}

}  // namespace Vemo
