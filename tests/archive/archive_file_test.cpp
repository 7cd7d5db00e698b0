#include "archive_file.h"

#include <gtest/gtest.h>

#include "archive_bytes.h"
#include "temp_folder.h"

namespace tvk {
namespace {

using test::read_file;
using test::write_file;

std::string as_text(const test::Bytes& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

class ArchiveFile : public ::testing::Test {
  protected:
    std::filesystem::path file() const { return folder.path() / "TVK.DAT"; }
    test::TempFolder folder;
};

TEST_F(ArchiveFile, SavesAndOpensAnArchive) {
    EntryStore source = test::store_of(3);
    ASSERT_EQ(save_archive_file(source, file()), SaveResult::saved);
    EXPECT_EQ(read_file(file()), as_text(test::save_to_bytes(source)));
    EntryStore store = test::store_of(1);
    ASSERT_EQ(open_archive_file(store, file()), OpenResult::opened);
    ASSERT_EQ(store.count(), 3u);
    for (std::size_t i = 0; i < store.count(); ++i) {
        EXPECT_STREQ(store.display_name(i), source.display_name(i));
        EXPECT_EQ(store.screen_block(i), source.screen_block(i));
    }
}

TEST_F(ArchiveFile, OpenClearsTheStoreEvenWhenItFails) {
    EntryStore store = test::store_of(2);
    EXPECT_EQ(open_archive_file(store, folder.path() / "missing.dat"), OpenResult::cannot_open);
    EXPECT_EQ(store.count(), 0u);

    store = test::store_of(2);
    EXPECT_EQ(open_archive_file(store, folder.path()), OpenResult::cannot_open);
    EXPECT_EQ(store.count(), 0u);

    write_file(file(), "short");
    store = test::store_of(2);
    EXPECT_EQ(open_archive_file(store, file()), OpenResult::not_an_archive);
    EXPECT_EQ(store.count(), 0u);

    write_file(file(), std::string(400, 'x'));
    store = test::store_of(2);
    EXPECT_EQ(open_archive_file(store, file()), OpenResult::not_an_archive);
    EXPECT_EQ(store.count(), 0u);
}

TEST_F(ArchiveFile, OpensAPathWithCharactersBeyondAscii) {
    EntryStore source = test::store_of(1);
    const auto path = folder.path() / std::filesystem::path(u8"Bildschirme \u00E4\u00F6.dat");
    ASSERT_EQ(save_archive_file(source, path), SaveResult::saved);
    EntryStore store;
    EXPECT_EQ(open_archive_file(store, path), OpenResult::opened);
    EXPECT_EQ(store.count(), 1u);
}

TEST_F(ArchiveFile, RefusesToSaveMoreEntriesThanReadBack) {
    write_file(file(), "old");
    EntryStore store = test::store_of(kMaxEntries + 1);
    EXPECT_EQ(save_archive_file(store, file()), SaveResult::too_many_entries);
    EXPECT_EQ(read_file(file()), "old");
    EXPECT_EQ(folder.file_names(), std::vector<std::string>{"TVK.DAT"});
    store.remove_at(0);
    EXPECT_EQ(save_archive_file(store, file()), SaveResult::saved);
    EntryStore loaded;
    EXPECT_EQ(open_archive_file(loaded, file()), OpenResult::opened);
    EXPECT_EQ(loaded.count(), kMaxEntries);
}

TEST_F(ArchiveFile, ReportsASaveThatFailedAndKeepsTheOldFile) {
    write_file(file(), "old");
    EntryStore store = test::store_of(2);
    FileOps ops = real_file_ops();
    ops.finish_output = [](std::ostream&) { return false; };
    EXPECT_EQ(save_archive_file(store, file(), ops), SaveResult::cannot_save);
    EXPECT_EQ(read_file(file()), "old");
    EXPECT_EQ(save_archive_file(store, folder.path() / "missing" / "TVK.DAT"),
              SaveResult::cannot_save);
}

}  // namespace
}  // namespace tvk
