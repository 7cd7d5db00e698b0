#include "sample_screens.h"

#include <gtest/gtest.h>

#include <set>

#include "builders.h"

namespace tvk::test {

// Named pictures, not blanks or flat colours; the fourth uses every colour a screen can hold.
TEST(SampleArchive, HoldsItsPicturesUnderTheirNames) {
    EntryStore store;
    ASSERT_EQ(build_sample_archive(store), "");
    std::vector<std::string> seen;
    for (std::size_t i = 0; i < store.count(); ++i) {
        const PixelGrid grid = screen_of(store, i);
        seen.push_back(stored_name(store, i) + " " +
                       std::to_string(std::set(grid.begin(), grid.end()).size()));
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"Title Card 26", "Sunset Lake 22", "Checker Floor 20",
                                              "63 Colours 63", "Night Caf\xE9 17"}));
}

}  // namespace tvk::test
