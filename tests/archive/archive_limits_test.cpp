#include <gtest/gtest.h>

#include "archive_bytes.h"
#include "archive_io.h"
#include "record.h"

namespace tvk {
namespace {

std::uint32_t stored_header_field(test::Bytes file, std::size_t field) {
    scramble(file.data(), kRecordLength);
    return read_u32(file.data() + field);
}

TEST(ArchiveLimits, TheLargestArchiveThatReadsBackLoadsEveryEntry) {
    EntryStore source = test::store_of(kMaxEntries);
    const test::Bytes file = test::save_to_bytes(source);
    EXPECT_EQ(file.size(), archive_size(kMaxEntries));
    EXPECT_EQ(stored_header_field(file, kBlockAreaOffsetField), 65472u);
    EntryStore store;
    ASSERT_EQ(test::load_from_bytes(store, file), kLoaded);
    ASSERT_EQ(store.count(), kMaxEntries);
    for (const std::size_t i : {std::size_t{0}, std::size_t{517}, kMaxEntries - 1}) {
        EXPECT_EQ(store.screen_block(i), source.screen_block(i)) << "entry " << i;
        EXPECT_STREQ(store.display_name(i), source.display_name(i));
    }
}

// One entry more and the block area offset no longer fits the 16 bits the reader takes: the
// reason why saving more than kMaxEntries entries is refused.
TEST(ArchiveLimits, OneEntryMoreReadsTheBlocksFromTheWrongPlace) {
    EntryStore source = test::store_of(kMaxEntries + 1);
    const test::Bytes file = test::save_to_bytes(source);
    EXPECT_EQ(stored_header_field(file, kBlockAreaOffsetField), 65536u);
    EntryStore store;
    ASSERT_EQ(test::load_from_bytes(store, file), kLoaded);
    ASSERT_EQ(store.count(), kMaxEntries + 1);
    EXPECT_STREQ(store.display_name(kMaxEntries), source.display_name(kMaxEntries));
    EXPECT_NE(store.screen_block(0), source.screen_block(0));
}

}  // namespace
}  // namespace tvk
