#include "reference_record.h"

namespace tvk::reference {

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

}  // namespace tvk::reference
