#include "entry_editing.h"

#include <gtest/gtest.h>

#include "test_archives.h"

namespace tvk {
namespace {

using test::stored_name;

// A store of entries named "e0", "e1", ... whose screens are told apart by their first byte.
EntryStore store_of(std::size_t count) {
    EntryStore store;
    for (std::size_t i = 0; i < count; ++i) {
        std::string name = "e";
        name += std::to_string(i);
        if (insert_named_entry(store, i,
                               build_name_record(std::u16string(name.begin(), name.end()))) !=
            EditResult::done) {
            ADD_FAILURE() << name << " refused";
            break;
        }
        store.screen_block(i)[0] = static_cast<std::uint8_t>(i + 1);
    }
    return store;
}

std::vector<std::string> names_of(const EntryStore& store) {
    std::vector<std::string> names;
    for (std::size_t i = 0; i < store.count(); ++i) {
        names.push_back(stored_name(store, i) + "/" + std::to_string(store.screen_block(i)[0]));
    }
    return names;
}

TEST(InsertNamedEntry, PutsTheRecordAndABlankScreenAtTheIndex) {
    EntryStore store = store_of(3);
    const NameRecord name = build_name_record(u"new");

    EXPECT_EQ(insert_named_entry(store, 1, name), EditResult::done);

    EXPECT_EQ(names_of(store), (std::vector<std::string>{"e0/1", "new/0", "e1/2", "e2/3"}));
    EXPECT_EQ(store.screen_block(1), ScreenBlock{});
    EXPECT_TRUE(std::equal(name.bytes.begin(), name.bytes.end(), store.name_buffer(1).begin()));
    EXPECT_EQ(insert_named_entry(store, 4, build_name_record(u"last")), EditResult::done);
    EXPECT_EQ(stored_name(store, 4), "last");
}

TEST(InsertNamedEntry, RefusesAHashInUse) {
    EntryStore store = store_of(2);
    ASSERT_EQ(insert_named_entry(store, 0, build_name_record(u"b")), EditResult::done);

    EXPECT_EQ(insert_named_entry(store, 1, build_name_record(u" !")), EditResult::hash_collision);
    EXPECT_EQ(insert_named_entry(store, 3, build_name_record(u"e1")), EditResult::hash_collision);
    EXPECT_EQ(names_of(store), (std::vector<std::string>{"b/0", "e0/1", "e1/2"}));
}

TEST(RenameEntry, ReplacesTheNameKeepsTheScreenAndRefusesAnotherEntrysHash) {
    EntryStore store = store_of(3);

    EXPECT_EQ(rename_entry(store, 1, build_name_record(u"e2")), EditResult::hash_collision);
    EXPECT_EQ(rename_entry(store, 1, build_name_record(u"renamed")), EditResult::done);
    EXPECT_EQ(rename_entry(store, 2, build_name_record(u"e2")), EditResult::done);

    EXPECT_EQ(names_of(store), (std::vector<std::string>{"e0/1", "renamed/2", "e2/3"}));
}

TEST(MoveEntry, MovesOneEntryBothWays) {
    EntryStore store = store_of(4);

    move_entry(store, 0, 2);
    EXPECT_EQ(names_of(store), (std::vector<std::string>{"e1/2", "e2/3", "e0/1", "e3/4"}));
    move_entry(store, 3, 0);
    EXPECT_EQ(names_of(store), (std::vector<std::string>{"e3/4", "e1/2", "e2/3", "e0/1"}));
    move_entry(store, 1, 1);
    EXPECT_EQ(names_of(store), (std::vector<std::string>{"e3/4", "e1/2", "e2/3", "e0/1"}));
}

}  // namespace
}  // namespace tvk
