#pragma once

#include <cstddef>
#include <cstdint>

// Byte-at-a-time versions of the record operations, written as plainly as possible. The product's
// versions must give the same results.
namespace tvk::reference {

inline std::uint32_t record_checksum(const std::uint8_t* buffer, std::size_t end) {
    std::uint32_t sum = 0;
    std::uint32_t weight = 1;
    for (std::size_t i = 4; i < end; ++i) {
        sum += buffer[i] * weight;
        weight = weight == 1u << 24 ? 1 : weight << 1;
    }
    return sum;
}

inline void scramble(std::uint8_t* buffer, std::size_t length) {
    for (std::size_t k = 4; k < length; ++k) {
        buffer[k] ^= buffer[k & 1];
    }
}

}  // namespace tvk::reference
