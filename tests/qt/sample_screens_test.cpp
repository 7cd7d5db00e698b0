#include "sample_screens.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <set>

#include "archive_file.h"
#include "name_text.h"
#include "screen_codec.h"

namespace tvk {
namespace {

std::set<ColourValue> colours_of(const PixelGrid& grid) {
    return {grid.begin(), grid.end()};
}

TEST(SampleArchive, HoldsItsPicturesUnderTheirNames) {
    EntryStore store;
    ASSERT_EQ(build_sample_archive(store), "");
    ASSERT_EQ(store.count(), sample_screens().size());
    EXPECT_STREQ(store.display_name(0), "Title Card");
    EXPECT_STREQ(store.display_name(4), "Night Caf\xE9");  // one byte per character

    std::set<std::vector<ColourValue>> pictures;
    for (std::size_t i = 0; i < store.count(); ++i) {
        auto grid = std::make_unique<PixelGrid>();
        decode_screen(store.screen_block(i), *grid);
        // A picture, not a blank or a flat colour.
        EXPECT_GE(colours_of(*grid).size(), 8u) << store.display_name(i);
        pictures.insert({grid->begin(), grid->end()});
    }
    EXPECT_EQ(pictures.size(), store.count());
}

TEST(SampleArchive, OnePictureUsesAllSixtyThreeColours) {
    EntryStore store;
    ASSERT_EQ(build_sample_archive(store), "");
    auto grid = std::make_unique<PixelGrid>();
    decode_screen(store.screen_block(3), *grid);
    EXPECT_EQ(colours_of(*grid).size(), kMaxEncodedColours);
}

TEST(SampleArchive, ReadsBackFromTheFileItIsSavedTo) {
    EntryStore store;
    ASSERT_EQ(build_sample_archive(store), "");
    const auto file = std::filesystem::temp_directory_path() /
                      ("tvk-sample-" + std::to_string(::getpid()) + ".dat");
    ASSERT_EQ(save_archive_file(store, file), SaveResult::saved);
    EntryStore reread;
    ASSERT_EQ(open_archive_file(reread, file), OpenResult::opened);
    std::filesystem::remove(file);
    ASSERT_EQ(reread.count(), store.count());
    for (std::size_t i = 0; i < store.count(); ++i) {
        EXPECT_STREQ(reread.display_name(i), store.display_name(i));
        EXPECT_EQ(reread.screen_block(i), store.screen_block(i)) << i;
    }
}

}  // namespace
}  // namespace tvk
