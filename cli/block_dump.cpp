#include "block_dump.h"

#include <algorithm>
#include <vector>

#include "cli_support.h"

namespace tvk {
namespace {

constexpr std::size_t kRowLength = 32;
constexpr std::size_t kRowCount = kBlockSize / kRowLength;
constexpr int kOffsetDigits = 4;
constexpr std::string_view kExplanation =
    "# A screen block as stored: offset, then 32 bytes in hex. Rows of zeros are left out.\n";

}  // namespace

std::string format_block_dump(const ScreenBlock& block) {
    std::string text(kExplanation);
    for (std::size_t row = 0; row < kRowCount; ++row) {
        const std::size_t offset = row * kRowLength;
        // Bytes 0..3 are the checksum, which is never kept.
        const std::size_t from = std::max(offset, kChecksumLength);
        const auto first = block.begin() + static_cast<std::ptrdiff_t>(from);
        const auto last = block.begin() + static_cast<std::ptrdiff_t>(offset + kRowLength);
        if (std::all_of(first, last, [](std::uint8_t byte) { return byte == 0; })) {
            continue;
        }
        text += hex_text(offset, kOffsetDigits) + ' ';
        for (std::size_t i = offset; i < offset + kRowLength; ++i) {
            text += hex_text(i < kChecksumLength ? 0 : block[i], 2);
        }
        text += '\n';
    }
    return text;
}

std::string parse_block_dump(std::string_view text, ScreenBlock& block) {
    block.fill(0);
    std::vector<bool> seen(kRowCount, false);
    int number = 0;
    while (!text.empty()) {
        const std::string_view line = trim_blanks(take_line(text));
        ++number;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t gap = std::min(line.find_first_of(kBlanks), line.size());
        const std::string_view bytes = trim_blanks(line.substr(gap));
        const std::string where = "line " + std::to_string(number) + ": ";
        std::uint8_t offset_bytes[2] = {};
        if (!parse_hex_bytes(line.substr(0, gap), offset_bytes, 2)) {
            return where + "a row begins with its offset as 4 hex digits";
        }
        const std::size_t row_offset = std::size_t{offset_bytes[0]} << 8 | offset_bytes[1];
        if (row_offset % kRowLength != 0 || row_offset >= kBlockSize) {
            return where + "the offset must be a multiple of 32 (hex 20) below 16384 (hex 4000)";
        }
        if (seen[row_offset / kRowLength]) {
            return where + "this row's offset was given before";
        }
        seen[row_offset / kRowLength] = true;
        if (!parse_hex_bytes(bytes, block.data() + row_offset, kRowLength)) {
            return where + "a row holds 32 bytes as 64 hex digits";
        }
    }
    std::fill_n(block.begin(), kChecksumLength, 0);
    return {};
}

}  // namespace tvk
