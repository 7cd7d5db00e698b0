#include "test_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "archive_file.h"
#include "name_text.h"
#include "screen_codec.h"

namespace tvk::test {

std::filesystem::path program_folder() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return std::filesystem::path(path).parent_path();
}

PixelGrid make_grid(const std::function<ColourValue(int x, int y)>& colour) {
    PixelGrid grid{};
    for (int x = 0; x < kScreenWidth; ++x) {
        for (int y = 0; y < kScreenHeight; ++y) {
            grid[grid_index(static_cast<std::size_t>(x), static_cast<std::size_t>(y))] =
                colour(x, y);
        }
    }
    return grid;
}

void write_archive(const std::filesystem::path& file, const std::vector<ArchiveEntry>& entries) {
    EntryStore store;
    for (const ArchiveEntry& entry : entries) {
        store.append_new_entry();
        const std::size_t i = store.count() - 1;
        const NameRecord record = build_name_record(widen_name(entry.name.c_str()));
        std::copy(record.bytes.begin(), record.bytes.end(), store.name_buffer(i).begin());
        ASSERT_EQ(encode_screen(entry.screen, store.screen_block(i)), kEncoded);
    }
    ASSERT_EQ(save_archive_file(store, file), std::error_code());
}

std::vector<ArchiveEntry> read_archive(const std::filesystem::path& file) {
    EntryStore store;
    EXPECT_EQ(open_archive_file(store, file), std::error_code());
    std::vector<ArchiveEntry> entries(store.count());
    for (std::size_t i = 0; i < store.count(); ++i) {
        entries[i].name = store.display_name(i);
        decode_screen(store.screen_block(i), entries[i].screen);
    }
    return entries;
}

}  // namespace tvk::test
