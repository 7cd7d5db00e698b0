#include "record.h"

#include <algorithm>
#include <array>

#include "archive_format.h"

// On x86-64 ELF systems the two loops are also built for wider vector units, and the loader picks
// the build that the processor runs; everywhere else the one portable build serves.
#if defined(__x86_64__) && defined(__ELF__) && defined(__GNUC__)
#define TVK_VECTOR_CLONES \
    __attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default")))
#else
#define TVK_VECTOR_CLONES
#endif

namespace tvk {
namespace {

// The checksum weights run 2^0 .. 2^24 and then start again.
constexpr std::size_t kWeightPeriod = 25;
// Bytes are summed into lanes by position modulo kLanes. Every byte of a lane has the same weight
// because kLanes is a multiple of the weight period, and the lane loop vectorises because kLanes is
// also a multiple of the vector width.
constexpr std::size_t kLanes = kWeightPeriod * 16;
using LaneSum = std::uint16_t;
// Passes over kLanes bytes that a 16-bit lane can add up without overflowing.
constexpr std::size_t kPassesPerSegment = 0xFFFF / 0xFF;

// Passes over the input that the main loop folds into the lanes at once, so that the lanes are
// loaded and stored once per this many input bytes.
constexpr std::size_t kPassesAtOnce = 4;

// Weighted sum of `length` bytes whose first byte has weight 1; at most kPassesPerSegment passes.
TVK_VECTOR_CLONES std::uint32_t checksum_segment(const std::uint8_t* bytes, std::size_t length) {
    // Only the lanes that receive a byte are set up and summed, so a 56-byte name costs 56 lanes.
    const std::size_t used = std::min(length, kLanes);
    std::array<LaneSum, kLanes> lanes;
    std::copy(bytes, bytes + used, lanes.begin());
    std::size_t at = kLanes;
    for (; at + kPassesAtOnce * kLanes <= length; at += kPassesAtOnce * kLanes) {
        for (std::size_t l = 0; l < kLanes; ++l) {
            LaneSum lane = lanes[l];
            for (std::size_t pass = 0; pass < kPassesAtOnce; ++pass) {
                lane = static_cast<LaneSum>(lane + bytes[at + pass * kLanes + l]);
            }
            lanes[l] = lane;
        }
    }
    for (; at + kLanes <= length; at += kLanes) {
        for (std::size_t l = 0; l < kLanes; ++l) {
            lanes[l] = static_cast<LaneSum>(lanes[l] + bytes[at + l]);
        }
    }
    for (std::size_t l = 0; at + l < length; ++l) {
        lanes[l] = static_cast<LaneSum>(lanes[l] + bytes[at + l]);
    }
    std::array<std::uint32_t, kWeightPeriod> columns{};
    for (std::size_t row = 0; row < used; row += kWeightPeriod) {
        const std::size_t width = std::min(kWeightPeriod, used - row);
        for (std::size_t k = 0; k < width; ++k) {
            columns[k] += lanes[row + k];
        }
    }
    std::uint32_t sum = 0;
    for (std::size_t k = 0; k < kWeightPeriod; ++k) {
        sum += columns[k] << k;
    }
    return sum;
}

}  // namespace

std::uint32_t record_checksum(const std::uint8_t* buffer, std::size_t end) {
    constexpr std::size_t kSegment = kLanes * kPassesPerSegment;
    std::uint32_t sum = 0;
    // Segments start at multiples of the weight period, so each starts again with weight 1.
    for (std::size_t at = kChecksumLength; at < end; at += kSegment) {
        sum += checksum_segment(buffer + at, std::min(kSegment, end - at));
    }
    return sum;
}

TVK_VECTOR_CLONES void scramble(std::uint8_t* buffer, std::size_t length) {
    // The bytes up to the first address that is a multiple of kChunk go one by one, so that the
    // chunk stores after them never straddle two cache lines. A fixed-size inner loop lets the
    // compiler use whole vector registers for the chunks.
    constexpr std::size_t kChunk = 64;
    if (length <= kChecksumLength) {
        return;
    }
    const std::uint8_t key[2] = {buffer[0], buffer[1]};
    std::size_t k = kChecksumLength;
    const std::size_t misaligned = reinterpret_cast<std::uintptr_t>(buffer + k) % kChunk;
    const std::size_t aligned = std::min(length, k + (kChunk - misaligned) % kChunk);
    for (; k < aligned; ++k) {
        buffer[k] ^= key[k & 1];
    }
    std::array<std::uint8_t, kChunk> pattern{};
    for (std::size_t j = 0; j < kChunk; ++j) {
        pattern[j] = key[(k + j) & 1];
    }
    for (; k + kChunk <= length; k += kChunk) {
        for (std::size_t j = 0; j < kChunk; ++j) {
            buffer[k + j] ^= pattern[j];
        }
    }
    for (; k < length; ++k) {
        buffer[k] ^= key[k & 1];
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
