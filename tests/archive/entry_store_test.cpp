#include "entry_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "archive_bytes.h"
#include "record.h"

namespace tvk {
namespace {

std::vector<std::string> names(EntryStore& store) {
    std::vector<std::string> result;
    for (std::size_t i = 0; i < store.count(); ++i) {
        result.emplace_back(store.display_name(i));
    }
    return result;
}

TEST(EntryStore, AppendsZeroFilledBuffers) {
    EntryStore store;
    store.append_new_entry();
    ASSERT_EQ(store.count(), 1u);
    const NameBuffer& name = store.name_buffer(0);
    const ScreenBlock& block = store.screen_block(0);
    EXPECT_TRUE(std::all_of(name.begin(), name.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(EntryStore, ClearEmptiesAndDoesNothingOnAnEmptyStore) {
    EntryStore store;
    store.clear();
    EXPECT_EQ(store.count(), 0u);
    store = test::store_of(3);
    store.clear();
    EXPECT_EQ(store.count(), 0u);
}

TEST(EntryStore, RemoveAtKeepsTheOtherEntriesInOrder) {
    EntryStore store = test::store_of(4);
    store.remove_at(3);
    EXPECT_EQ(names(store), (std::vector<std::string>{"Entry 0", "Entry 1", "Entry 2"}));
    store.remove_at(0);
    EXPECT_EQ(names(store), (std::vector<std::string>{"Entry 1", "Entry 2"}));
}

TEST(EntryStore, ReorderingMovesNameAndBlockTogetherWithoutCopying) {
    EntryStore store = test::store_of(3);
    const NameBuffer* name0 = &store.name_buffer(0);
    const ScreenBlock* block0 = &store.screen_block(0);
    const ScreenBlock* block1 = &store.screen_block(1);
    store.swap_neighbours(0);
    EXPECT_EQ(names(store), (std::vector<std::string>{"Entry 1", "Entry 0", "Entry 2"}));
    EXPECT_EQ(&store.name_buffer(1), name0);
    EXPECT_EQ(&store.screen_block(1), block0);
    EXPECT_EQ(&store.screen_block(0), block1);
}

TEST(EntryStore, MoveLastToInsertsTheNewEntry) {
    EntryStore store = test::store_of(3);
    test::append_entry(store, "New", 99);
    const ScreenBlock* added = &store.screen_block(3);
    store.move_last_to(0);
    EXPECT_EQ(names(store), (std::vector<std::string>{"New", "Entry 0", "Entry 1", "Entry 2"}));
    EXPECT_EQ(&store.screen_block(0), added);

    test::append_entry(store, "Middle", 98);
    store.move_last_to(2);
    EXPECT_EQ(names(store),
              (std::vector<std::string>{"New", "Entry 0", "Middle", "Entry 1", "Entry 2"}));
    store.move_last_to(store.count() - 1);
    EXPECT_EQ(names(store).back(), "Entry 2");
}

TEST(EntryStore, DisplayNameOfA56ByteNameIsTerminatedAndStopsBeforeTheDataSize) {
    EntryStore store;
    const std::string longest(kNameLength, 'N');
    test::append_entry(store, longest, 1);
    NameBuffer& buffer = store.name_buffer(0);
    buffer[62] = 'X';
    buffer[63] = 'Y';
    std::fill(buffer.begin() + kScratchOffset, buffer.end(), std::uint8_t{'Z'});
    EXPECT_EQ(std::string(store.display_name(0)), longest);
    EXPECT_EQ(buffer[kNameBufferSize - 1], 0);
}

TEST(EntryStore, DisplayNameStopsAtTheFirstNul) {
    EntryStore store;
    test::append_entry(store, "short", 1);
    NameBuffer& buffer = store.name_buffer(0);
    buffer[kNameOffset + 10] = 'q';  // after the terminator: not part of the name
    std::fill(buffer.begin() + kScratchOffset, buffer.end(), std::uint8_t{'Z'});
    EXPECT_EQ(std::string(store.display_name(0)), "short");
}

TEST(EntryStore, NameHashComesFromTheNameBytesNotTheStoredChecksum) {
    EntryStore store;
    test::append_entry(store, "abc", 1);
    write_u32(store.name_buffer(0).data(), 0xDEADBEEF);
    EXPECT_EQ(store.name_hash(0), 689u);
}

TEST(EntryStore, NameHashInUseSkipsTheGivenEntry) {
    EntryStore store;
    test::append_entry(store, "b", 1);
    test::append_entry(store, "other", 2);
    const std::uint32_t hash = store.name_hash(0);
    EXPECT_FALSE(store.name_hash_in_use(hash, 0));
    EXPECT_TRUE(store.name_hash_in_use(hash, -1));
    EXPECT_TRUE(store.name_hash_in_use(hash, 1));
    test::append_entry(store, " !", 3);  // another name with the same hash
    EXPECT_TRUE(store.name_hash_in_use(hash, 0));
    EXPECT_FALSE(store.name_hash_in_use(hash + 1, -1));
}

TEST(EntryStore, UnwrittenBuffersShareOneZeroStandInUntilWritten) {
    EntryStore store;
    store.append_new_entry();
    store.append_new_entry();
    const EntryStore& reading = store;
    EXPECT_EQ(&reading.screen_block(0), &reading.screen_block(1));
    EXPECT_EQ(&reading.name_buffer(0), &reading.name_buffer(1));
    EXPECT_STREQ(store.display_name(0), "");
    EXPECT_EQ(store.name_hash(1), 0u);
    EXPECT_TRUE(store.block_is_blank(0) && store.name_is_blank(0));

    store.screen_block(1)[7] = 9;
    store.name_buffer(0)[kNameOffset] = 'x';
    EXPECT_TRUE(store.block_is_blank(0) && store.name_is_blank(1));
    EXPECT_FALSE(store.block_is_blank(1) || store.name_is_blank(0));
    EXPECT_EQ(reading.screen_block(0), ScreenBlock{});
    EXPECT_EQ(reading.screen_block(1)[7], 9);
    EXPECT_STREQ(store.display_name(0), "x");
    EXPECT_STREQ(store.display_name(1), "");
    store.swap_neighbours(0);
    EXPECT_TRUE(store.block_is_blank(1) && store.name_is_blank(0));
}

}  // namespace
}  // namespace tvk
