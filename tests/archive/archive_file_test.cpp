#include "archive_file.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

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

// Twenty entries: more than one read buffer, so reading seeks both within and beyond it.
TEST_F(ArchiveFile, SavesAndOpensAnArchive) {
    EntryStore source = test::store_of(20);
    ASSERT_EQ(save_archive_file(source, file()), std::error_code());
    EXPECT_EQ(read_file(file()), as_text(test::save_to_bytes(source)));
    EntryStore store = test::store_of(1);
    ASSERT_EQ(open_archive_file(store, file()), std::error_code());
    ASSERT_EQ(store.count(), 20u);
    for (std::size_t i = 0; i < store.count(); ++i) {
        EXPECT_STREQ(store.display_name(i), source.display_name(i));
        EXPECT_EQ(store.screen_block(i), source.screen_block(i));
    }
}

TEST_F(ArchiveFile, OpenClearsTheStoreEvenWhenItFails) {
    EntryStore store = test::store_of(2);
    EXPECT_EQ(open_archive_file(store, folder.path() / "missing.dat"),
              std::errc::no_such_file_or_directory);
    EXPECT_EQ(store.count(), 0u);

    store = test::store_of(2);
    EXPECT_EQ(open_archive_file(store, folder.path()), std::errc::is_a_directory);
    EXPECT_EQ(store.count(), 0u);

    write_file(file(), "short");
    store = test::store_of(2);
    EXPECT_EQ(open_archive_file(store, file()), ArchiveError::not_an_archive);
    EXPECT_EQ(store.count(), 0u);

    write_file(file(), std::string(400, 'x'));
    store = test::store_of(2);
    EXPECT_EQ(open_archive_file(store, file()), ArchiveError::not_an_archive);
    EXPECT_EQ(store.count(), 0u);
}

#ifndef _WIN32
TEST_F(ArchiveFile, RefusesAFifoWithoutWaitingForAWriter) {
    const std::filesystem::path fifo = folder.path() / "fifo";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    EntryStore store = test::store_of(1);
    EXPECT_EQ(open_archive_file(store, fifo), FileError::not_a_regular_file);
    EXPECT_EQ(store.count(), 0u);
}
#endif

TEST_F(ArchiveFile, OpensAPathWithCharactersBeyondAscii) {
    EntryStore source = test::store_of(1);
    const auto path = folder.path() / std::filesystem::path(u8"Bildschirme \u00E4\u00F6.dat");
    ASSERT_EQ(save_archive_file(source, path), std::error_code());
    EntryStore store;
    EXPECT_EQ(open_archive_file(store, path), std::error_code());
    EXPECT_EQ(store.count(), 1u);
}

TEST_F(ArchiveFile, RefusesToSaveMoreEntriesThanReadBack) {
    write_file(file(), "old");
    EntryStore store = test::store_of(kMaxEntries + 1);
    EXPECT_EQ(save_archive_file(store, file()), ArchiveError::too_many_entries);
    EXPECT_EQ(read_file(file()), "old");
    EXPECT_EQ(folder.file_names(), std::vector<std::string>{"TVK.DAT"});
    store.remove_at(0);
    EXPECT_EQ(save_archive_file(store, file()), std::error_code());
    EntryStore loaded;
    EXPECT_EQ(open_archive_file(loaded, file()), std::error_code());
    EXPECT_EQ(loaded.count(), kMaxEntries);
}

TEST_F(ArchiveFile, ReportsASaveThatFailedAndKeepsTheOldFile) {
    write_file(file(), "old");
    EntryStore store = test::store_of(2);
    FileOps ops = real_file_ops();
    ops.close = [](OpenFile& temporary, bool) {
        real_file_ops().close(temporary, false);
        return std::make_error_code(std::errc::io_error);
    };
    EXPECT_EQ(save_archive_file(store, file(), ops), std::make_error_code(std::errc::io_error));
    EXPECT_EQ(read_file(file()), "old");
    EXPECT_EQ(save_archive_file(store, folder.path() / "missing" / "TVK.DAT"),
              std::errc::no_such_file_or_directory);
}

}  // namespace
}  // namespace tvk
