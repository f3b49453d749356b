#include "crc8.h"

#include <array>

namespace {

constexpr std::array<std::uint8_t, 256> makeTable()
{
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        std::uint8_t crc = static_cast<std::uint8_t>(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint8_t>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
        table[static_cast<std::size_t>(i)] = crc;
    }
    return table;
}

constexpr std::array<std::uint8_t, 256> kTable = makeTable();

}  // namespace

std::uint8_t crc8(const std::uint8_t* data, std::size_t length)
{
    // The augmented form (0xFF, eight trailing zero bits) equals the direct
    // form started from 0xF3.
    std::uint8_t crc = 0xF3;
    for (std::size_t i = 0; i < length; ++i)
        crc = kTable[crc ^ data[i]];
    return crc;
}
