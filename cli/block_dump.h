#pragma once

#include <string>
#include <string_view>

#include "entry_store.h"

// A screen block as a text file: rows of 32 bytes in hex, each after its offset, rows of zeros left
// out (a blank block is an empty dump). Bytes 0..3, the checksum that every save recomputes, are
// written and read as zero.
namespace tvk {

std::string format_block_dump(const ScreenBlock& block);

// Fills `block` from a dump; on failure returns what is wrong, with the line number.
std::string parse_block_dump(std::string_view text, ScreenBlock& block);

}  // namespace tvk
