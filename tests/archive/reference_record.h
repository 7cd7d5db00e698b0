#pragma once

#include <cstddef>
#include <cstdint>

// Byte-at-a-time versions of the record operations, written as plainly as possible. The product's
// versions must give the same results.
namespace tvk::reference {

inline std::uint32_t record_checksum(const std::uint8_t* buffer, std::size_t end) {
    std::uint32_t sum = 0;
    for (std::size_t i = 4; i < end; ++i) {
        sum += buffer[i] * (1u << (i - 4) % 25);  // the weights 1, 2, 4 ... 2^24, then 1 again
    }
    return sum;
}

inline void scramble(std::uint8_t* buffer, std::size_t length) {
    for (std::size_t k = 4; k < length; ++k) {
        buffer[k] ^= buffer[k & 1];
    }
}

}  // namespace tvk::reference
