#pragma once

#include <cstddef>
#include <cstdint>

namespace tvk {

// Weighted sum of bytes 4..end-1: weights 1, 2, 4, ... 2^24, repeating every 25 bytes, modulo 2^32.
std::uint32_t record_checksum(const std::uint8_t* buffer, std::size_t end);

// XORs bytes 4..length-1 with byte 0 (even positions) or byte 1 (odd positions). Its own inverse.
void scramble(std::uint8_t* buffer, std::size_t length);

std::uint32_t read_u32(const std::uint8_t* bytes);
std::uint16_t read_u16(const std::uint8_t* bytes);
void write_u32(std::uint8_t* bytes, std::uint32_t value);
void write_u16(std::uint8_t* bytes, std::uint16_t value);

}  // namespace tvk
