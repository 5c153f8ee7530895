#include "formats/mw2_wave_dump.hpp"

#include <cmath>

namespace Vemo {

double mw2_decode_sample(const std::uint8_t* bytes, std::uint64_t position)
{
    return 16.0 * bytes[position] + bytes[position + 1] - 128.0;
}

void mw2_encode_sample(std::uint8_t* bytes, std::uint64_t position, double x)
{
    // Rounding halves away from zero: 0.5 becomes 63.5 and then 64.
    const long q = std::lround(x * 127.0);
    // Unsigned arithmetic gives the code modulo 256 without overflow.
    const unsigned s = (static_cast<unsigned long>(q) + 128u) & 0xFFu;
    bytes[position] = static_cast<std::uint8_t>(s >> 4);
    bytes[position + 1] = static_cast<std::uint8_t>(s & 0x0Fu);
}

std::uint8_t mw2_checksum(const std::uint8_t* bytes, std::uint64_t first, std::uint64_t end)
{
    unsigned sum = 0;
    for (std::uint64_t i = first; i < end; ++i)
        sum += bytes[i];
    return static_cast<std::uint8_t>(sum & 0x7Fu);
}

bool mw2_has_header(const std::uint8_t* bytes, std::uint64_t length)
{
    return length > 3 && bytes[0] == mw2_start_byte && bytes[1] == mw2_manufacturer &&
           bytes[2] == mw2_model;
}

bool mw2_is_wave_dump(const std::uint8_t* bytes, std::uint64_t size, std::uint64_t position)
{
    // A message counts only when its last sample byte lies inside the bytes,
    // so decoding it never reads past their end.
    if (position >= size || size - position <= mw2_last_sample_byte_offset)
        return false;
    return bytes[position] == mw2_start_byte && bytes[position + 1] == mw2_manufacturer &&
           bytes[position + 2] == mw2_model &&
           bytes[position + mw2_type_offset] == mw2_wave_dump_type;
}

std::uint32_t mw2_wave_number(const std::uint8_t* bytes, std::uint64_t position)
{
    return 128u * bytes[position + mw2_wave_number_high_offset] +
           bytes[position + mw2_wave_number_low_offset];
}

std::vector<double> mw2_decode_cycle(const std::uint8_t* bytes, std::uint64_t position)
{
    std::vector<double> cycle(mw2_cycle_samples);
    for (std::size_t k = 0; k < mw2_stored_samples; ++k)
        cycle[k] = mw2_decode_sample(bytes, position + mw2_first_sample_offset + 2 * k);
    // The second half is the first half reversed and negated.
    for (std::size_t i = 0; i < mw2_stored_samples; ++i)
        cycle[mw2_cycle_samples - 1 - i] = -cycle[i];
    return cycle;
}

namespace {

/// The first seven bytes that a wave dump and a wavetable dump share: F0 3E
/// 0E, the device, the message type and a number in two 7-bit bytes.
void put_header(std::uint8_t* message, std::uint8_t type, std::uint32_t number)
{
    message[0] = mw2_start_byte;
    message[1] = mw2_manufacturer;
    message[2] = mw2_model;
    message[mw2_device_offset] = mw2_written_device;
    message[mw2_type_offset] = type;
    message[mw2_wave_number_high_offset] = static_cast<std::uint8_t>((number >> 7) & 0x7Fu);
    message[mw2_wave_number_low_offset] = static_cast<std::uint8_t>(number & 0x7Fu);
}

}  // namespace

Mw2_message mw2_build_message(std::uint32_t wave_number,
                              const std::array<double, mw2_stored_samples>& samples)
{
    Mw2_message message{};
    put_header(message.data(), mw2_wave_dump_type, wave_number);
    for (std::size_t k = 0; k < mw2_stored_samples; ++k)
        mw2_encode_sample(message.data(), mw2_first_sample_offset + 2 * k, samples[k]);
    message[mw2_check_byte_offset] =
        mw2_checksum(message.data(), mw2_first_sample_offset, mw2_checked_end_offset);
    message[mw2_end_offset] = mw2_end_byte;
    return message;
}

Mw2_wavetable_dump mw2_build_wavetable_dump(std::uint32_t table_number, std::uint32_t first_wave,
                                            std::uint64_t waves)
{
    constexpr std::uint16_t empty_entry = 0xFFFF;
    std::array<std::uint16_t, mw2_wavetable_entries> entries;
    entries.fill(empty_entry);
    for (std::uint64_t k = 0; k < waves; ++k) {
        const std::uint64_t entry = waves == 1 ? 0 : (120 * k + waves - 1) / (2 * (waves - 1));
        entries[entry] = static_cast<std::uint16_t>(first_wave + k);
    }

    Mw2_wavetable_dump dump{};
    put_header(dump.data(), mw2_wavetable_dump_type, table_number);
    constexpr std::size_t first_entry_byte = 7;
    for (std::size_t e = 0; e < mw2_wavetable_entries; ++e)
        for (std::size_t nibble = 0; nibble < 4; ++nibble)
            dump[first_entry_byte + 4 * e + nibble] =
                static_cast<std::uint8_t>(entries[e] >> (12 - 4 * nibble) & 0x0Fu);
    const std::size_t check_byte = first_entry_byte + 4 * mw2_wavetable_entries;
    dump[check_byte] = mw2_checksum(dump.data(), first_entry_byte, check_byte);
    dump[check_byte + 1] = mw2_end_byte;
    return dump;
}

std::string mw2_wave_label(std::uint32_t wave_number)
{
    if (wave_number < mw2_first_illegal_wave)
        return " ROM#" + std::to_string(wave_number + 1);
    if (wave_number >= mw2_first_user_wave)
        return " USER#" + std::to_string(wave_number - (mw2_first_user_wave - 1));
    return " illegal#" + std::to_string(wave_number);
}

}  // namespace Vemo
