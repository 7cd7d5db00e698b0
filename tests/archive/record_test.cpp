#include "record.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <vector>

#include "archive_format.h"
#include "reference_record.h"

namespace tvk {
namespace {

using Record = std::array<std::uint8_t, kRecordLength>;

Record name_record(const char* name) {
    Record record{};
    std::memcpy(record.data() + kNameOffset, name, std::strlen(name));
    return record;
}

std::vector<std::uint8_t> random_bytes(std::size_t length, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(length);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random());
    }
    return bytes;
}

TEST(RecordChecksum, WeighsBytesByPowersOfTwo) {
    Record record = name_record("abc");
    EXPECT_EQ(record_checksum(record.data(), kRecordChecksumEnd), 689u);
    write_u32(record.data(), record_checksum(record.data(), kRecordChecksumEnd));
    EXPECT_EQ((std::vector<std::uint8_t>(record.begin(), record.begin() + 4)),
              (std::vector<std::uint8_t>{0xB1, 0x02, 0x00, 0x00}));
}

TEST(RecordChecksum, OfZeroBytesIsZero) {
    const Record record{};
    EXPECT_EQ(record_checksum(record.data(), kRecordChecksumEnd), 0u);
    const std::vector<std::uint8_t> block(kBlockSize, 0);
    EXPECT_EQ(record_checksum(block.data(), kBlockSize), 0u);
}

TEST(RecordChecksum, WrapsModulo2To32) {
    Record record{};
    std::fill(record.begin() + kNameOffset, record.begin() + kRecordChecksumEnd, 0xFF);
    EXPECT_EQ(record_checksum(record.data(), kRecordChecksumEnd), 0xFC003CC3u);
}

TEST(RecordChecksum, IgnoresBytesOutsideItsRange) {
    Record first = name_record("name");
    Record second = first;
    second[0] = 0x12;
    second[3] = 0x34;
    second[60] = 0x68;
    second[63] = 0xFF;
    EXPECT_EQ(record_checksum(first.data(), kRecordChecksumEnd),
              record_checksum(second.data(), kRecordChecksumEnd));
}

TEST(RecordChecksum, CollidesForNamesOfEqualWeightedSum) {
    const Record b = name_record("b");
    const Record space_bang = name_record(" !");
    EXPECT_EQ(record_checksum(b.data(), kRecordChecksumEnd), 98u);
    EXPECT_EQ(record_checksum(space_bang.data(), kRecordChecksumEnd), 98u);
}

// A single byte 1 at position i must weigh 2^((i - 4) mod 25) wherever it lies in a block; this
// catches any lane of the fast sum that is mapped to the wrong weight.
TEST(RecordChecksum, GivesEveryPositionOfABlockItsWeight) {
    std::vector<std::uint8_t> block(kBlockSize, 0);
    for (std::size_t i = kChecksumLength; i < kBlockSize; ++i) {
        block[i] = 1;
        const std::uint32_t expected = std::uint32_t{1} << ((i - kChecksumLength) % 25);
        ASSERT_EQ(record_checksum(block.data(), kBlockSize), expected) << "position " << i;
        block[i] = 0;
    }
}

TEST(RecordChecksum, EqualsThePlainSumForEveryLength) {
    const auto bytes = random_bytes(2 * kBlockSize, 7);
    for (std::size_t end = 0; end <= 1700; ++end) {
        ASSERT_EQ(record_checksum(bytes.data(), end), reference::record_checksum(bytes.data(), end))
            << "end " << end;
    }
    for (const std::size_t end : {kBlockSize - 1, kBlockSize, kBlockSize + 1, 2 * kBlockSize}) {
        EXPECT_EQ(record_checksum(bytes.data(), end), reference::record_checksum(bytes.data(), end))
            << "end " << end;
    }
}

// All bytes 0xFF give the largest partial sums; a block-sized run of them must not overflow the
// fast version's intermediate sums, nor must a run longer than one internal segment.
TEST(RecordChecksum, EqualsThePlainSumForTheLargestBytes) {
    const std::vector<std::uint8_t> bytes(8 * kBlockSize, 0xFF);
    for (const std::size_t end :
         {kBlockSize, std::size_t{102804}, std::size_t{102805}, 8 * kBlockSize}) {
        EXPECT_EQ(record_checksum(bytes.data(), end), reference::record_checksum(bytes.data(), end))
            << "end " << end;
    }
}

TEST(Scramble, MatchesTheWorkedExample) {
    Record record = name_record("abc");
    record[60] = 0x68;
    record[61] = 0x28;
    write_u32(record.data(), record_checksum(record.data(), kRecordChecksumEnd));
    scramble(record.data(), kRecordLength);
    Record expected{};
    for (std::size_t k = 0; k < kRecordLength; k += 2) {
        expected[k] = 0xB1;
        expected[k + 1] = 0x02;
    }
    expected[2] = expected[3] = 0x00;
    expected[4] = 0xD0;
    expected[5] = 0x60;
    expected[6] = 0xD2;
    expected[60] = 0xD9;
    expected[61] = 0x2A;
    EXPECT_EQ(record, expected);
}

TEST(Scramble, LeavesARecordWithZeroKeyUnchanged) {
    Record record = name_record("unchanged");
    record[0] = record[1] = 0;
    record[2] = 0x77;
    const Record before = record;
    scramble(record.data(), kRecordLength);
    EXPECT_EQ(record, before);
}

TEST(Scramble, IsItsOwnInverseAndNeverTouchesBytes0To3) {
    const auto original = random_bytes(kBlockSize, 3);
    auto bytes = original;
    scramble(bytes.data(), kBlockSize);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 4, original.begin()));
    EXPECT_NE(bytes, original);
    scramble(bytes.data(), kBlockSize);
    EXPECT_EQ(bytes, original);
}

// Every length, and every start address within a cache line, since the fast version treats the
// bytes before its first aligned chunk apart.
TEST(Scramble, EqualsThePlainLoopForEveryLengthAndAlignment) {
    const auto original = random_bytes(kBlockSize + 128, 11);
    for (std::size_t offset = 0; offset < 64; ++offset) {
        for (std::size_t length = 0; length <= 300; ++length) {
            auto fast = original;
            auto plain = original;
            scramble(fast.data() + offset, length);
            reference::scramble(plain.data() + offset, length);
            ASSERT_EQ(fast, plain) << "offset " << offset << " length " << length;
        }
        for (const std::size_t length : {kBlockSize - 1, kBlockSize, kBlockSize + 63}) {
            auto fast = original;
            auto plain = original;
            scramble(fast.data() + offset, length);
            reference::scramble(plain.data() + offset, length);
            ASSERT_EQ(fast, plain) << "offset " << offset << " length " << length;
        }
    }
}

}  // namespace
}  // namespace tvk
