#include "outfile/ac_outfile_plaintext.hpp"

#include <charconv>
#include <string>

namespace Vemo {

namespace {

/// Text is handed to the file in pieces of about this size.
constexpr std::size_t piece_size = 1 << 16;

/// Appends `value` as printf's "%g" writes it: six significant digits,
/// exponent form below 1e-4 and from 1e6 on.
void append_value(std::string& text, double value)
{
    char digits[32];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 6);
    text.append(digits, result.ptr);
}

}  // namespace

bool Ac_outfile_plaintext::write()
{
    if (!ready_to_write())
        return false;

    std::string text;
    text.reserve(piece_size + 64);
    // Every value ends its line, the last one too: Csound's GEN23, `wc -l`
    // and `while read` drop a last line that has no line feed.
    for (std::uint64_t i = 0; i < data_size; ++i) {
        append_value(text, data[i]);
        text += '\n';
        if (text.size() >= piece_size) {
            if (!write_bytes(text.data(), text.size()))
                return false;
            text.clear();
        }
    }
    return write_bytes(text.data(), text.size());
}

}  // namespace Vemo
