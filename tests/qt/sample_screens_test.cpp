#include "sample_screens.h"

#include <gtest/gtest.h>

#include <set>

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

}  // namespace
}  // namespace tvk
