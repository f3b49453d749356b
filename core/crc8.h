#pragma once

#include <cstddef>
#include <cstdint>

// The live frame's check byte: CRC-8, polynomial 0x07, register preset 0xFF,
// bits shifted in most significant first and followed by eight zero bits.
// That is the usual table-driven CRC-8 (no reflection, no final XOR) started
// from 0xF3. Shared by the client's frame check and the simulated Converter.
std::uint8_t crc8(const std::uint8_t* data, std::size_t length);
