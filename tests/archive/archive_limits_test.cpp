#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>

#include "archive_bytes.h"
#include "archive_io.h"
#include "record.h"
#include "reference_record.h"

namespace tvk {
namespace {

using test::Bytes;

// One entry as it is stored: its name record and screen block, each checksummed and scrambled
// here with the reference record code, not the writer under test.
struct StoredEntry {
    Bytes name;
    Bytes block;
};

Bytes stored_by_reference(Bytes plain, std::size_t checksum_end) {
    write_u32(plain.data(), reference::record_checksum(plain.data(), checksum_end));
    reference::scramble(plain.data(), plain.size());
    return plain;
}

StoredEntry stored_entry(std::size_t i) {
    Bytes name(kRecordLength, 0);
    const std::string text = "Entry " + std::to_string(i);
    std::memcpy(name.data() + kNameOffset, text.data(), text.size());
    write_u16(name.data() + kDataSizeOffset, static_cast<std::uint16_t>(kUsedBlockSize));
    Bytes block(kBlockSize);
    std::mt19937 random(static_cast<unsigned>(i));
    for (auto& byte : block) {
        byte = static_cast<std::uint8_t>(random());
    }
    return {stored_by_reference(name, kRecordChecksumEnd), stored_by_reference(block, kBlockSize)};
}

std::vector<StoredEntry> stored_entries(std::size_t count) {
    std::vector<StoredEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        entries.push_back(stored_entry(i));
    }
    return entries;
}

// The archive of these entries, laid out record by record with full 32-bit header fields, as
// a writer that bounds nothing would write it.
Bytes archive_of(const std::vector<StoredEntry>& entries) {
    const auto count = static_cast<std::uint32_t>(entries.size());
    Bytes file = stored_by_reference(test::plain_header(count), kRecordChecksumEnd);
    for (std::size_t k = 0; k < kHeaderTailCopies; ++k) {
        file.insert(file.end(), file.begin() + kHeaderTailSource, file.begin() + kRecordLength);
    }
    for (const StoredEntry& entry : entries) {
        file.insert(file.end(), entry.name.begin(), entry.name.end());
    }
    file.insert(file.end(), kRecordLength, 0);
    for (const StoredEntry& entry : entries) {
        file.insert(file.end(), entry.block.begin(), entry.block.end());
    }
    return file;
}

// Entry i of the store holds exactly what `entry` stores, unscrambled.
void expect_entry(const EntryStore& store, std::size_t i, const StoredEntry& entry) {
    Bytes name = entry.name;
    Bytes block = entry.block;
    reference::scramble(name.data(), name.size());
    reference::scramble(block.data(), block.size());
    EXPECT_TRUE(std::equal(name.begin(), name.end(), store.name_buffer(i).begin()))
        << "name record " << i;
    EXPECT_TRUE(std::equal(block.begin(), block.end(), store.screen_block(i).begin()))
        << "screen block " << i;
}

TEST(ArchiveLimits, TheLargestArchiveForEveryReaderLoadsEveryEntry) {
    const std::vector<StoredEntry> entries = stored_entries(kMaxEntries);
    const Bytes file = archive_of(entries);
    EXPECT_EQ(file.size(), archive_size(kMaxEntries));
    EntryStore store;
    ASSERT_EQ(test::load_from_bytes(store, file), kLoaded);
    ASSERT_EQ(store.count(), kMaxEntries);
    for (std::size_t i = 0; i < kMaxEntries; ++i) {
        expect_entry(store, i, entries[i]);
    }
    EXPECT_EQ(test::save_to_bytes(store), file);
}

// Beyond 1018 entries the block area offset needs more than 16 bits: the count and the offsets
// are then read in full, every entry from its true place, and deleting down to 1018 entries saves
// an archive that keeps every remaining record byte for byte.
TEST(ArchiveLimits, ArchivesOfMoreEntriesLoadFromTheFullOffsetsAndSaveOnceCutTo1018) {
    for (const std::size_t count : {kMaxEntries + 1, std::size_t{1500}}) {
        std::vector<StoredEntry> entries = stored_entries(count);
        EntryStore store;
        ASSERT_EQ(test::load_from_bytes(store, archive_of(entries)), kLoaded) << count;
        ASSERT_EQ(store.count(), count);
        for (std::size_t i = 0; i < count; ++i) {
            expect_entry(store, i, entries[i]);
        }
        // Delete from the front, the middle and the end.
        while (store.count() > kMaxEntries) {
            const std::size_t n = store.count();
            const std::size_t at = std::array<std::size_t, 3>{0, n / 2, n - 1}[n % 3];
            store.remove_at(at);
            entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(at));
        }
        EXPECT_EQ(test::save_to_bytes(store), archive_of(entries)) << count;
    }
}

// Moved areas of an archive beyond 1018 entries are followed through their full 32-bit offsets.
TEST(ArchiveLimits, FollowsFull32BitAreaOffsetsBeyond1018Entries) {
    const std::size_t count = kMaxEntries + 1;
    const std::vector<StoredEntry> entries = stored_entries(count);
    const std::uint32_t name_area = 70000;
    const std::uint32_t block_area = 0x30000;
    Bytes file(block_area + count * kBlockSize, 0);
    for (std::size_t i = 0; i < count; ++i) {
        std::copy(entries[i].name.begin(), entries[i].name.end(),
                  file.begin() + static_cast<std::ptrdiff_t>(name_area + i * kRecordLength));
        std::copy(entries[i].block.begin(), entries[i].block.end(),
                  file.begin() + static_cast<std::ptrdiff_t>(block_area + i * kBlockSize));
    }
    Bytes header = test::plain_header(static_cast<std::uint32_t>(count));
    write_u32(header.data() + kNameAreaOffsetField, name_area);
    write_u32(header.data() + kBlockAreaOffsetField, block_area);
    header = stored_by_reference(header, kRecordChecksumEnd);
    std::copy(header.begin(), header.end(), file.begin());
    EntryStore store;
    ASSERT_EQ(test::load_from_bytes(store, file), kLoaded);
    ASSERT_EQ(store.count(), count);
    for (const std::size_t i : {std::size_t{0}, std::size_t{700}, count - 1}) {
        expect_entry(store, i, entries[i]);
    }
}

}  // namespace
}  // namespace tvk
