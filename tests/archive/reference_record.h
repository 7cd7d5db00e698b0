#pragma once

#include <cstddef>
#include <cstdint>

// Byte-at-a-time versions of the record operations, written as plainly as possible. The product's
// versions must give the same results.
namespace tvk::reference {

std::uint32_t record_checksum(const std::uint8_t* buffer, std::size_t end);
void scramble(std::uint8_t* buffer, std::size_t length);

}  // namespace tvk::reference
