#include "record.h"

namespace tvk {

std::uint32_t record_checksum(const std::uint8_t* buffer, std::size_t end) {
    std::uint32_t sum = 0;
    std::uint32_t weight = 1;
    for (std::size_t i = 4; i < end; ++i) {
        sum += buffer[i] * weight;
        weight <<= 1;
        if (weight == 0x2000000) {
            weight = 1;
        }
    }
    return sum;
}

void scramble(std::uint8_t* buffer, std::size_t length) {
    for (std::size_t k = 4; k < length; ++k) {
        buffer[k] ^= buffer[k & 1];
    }
}

std::uint32_t read_u32(const std::uint8_t* bytes) {
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

std::uint16_t read_u16(const std::uint8_t* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

void write_u32(std::uint8_t* bytes, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void write_u16(std::uint8_t* bytes, std::uint16_t value) {
    bytes[0] = static_cast<std::uint8_t>(value);
    bytes[1] = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace tvk
