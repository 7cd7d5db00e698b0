#include "tile_order.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tvk {
namespace {

using Corner = std::pair<unsigned, unsigned>;

// The tile order built from its rule: 32 x 32 tile groups cut short at the right and bottom
// edges, taken in vertical bands from the left, and within a group tile column by tile column,
// each from the top.
std::vector<Corner> tile_order_by_rule() {
    constexpr unsigned kGroup = 32;
    std::vector<Corner> order;
    for (unsigned band = 0; band < kScreenWidth; band += kGroup) {
        for (unsigned group = 0; group < kScreenHeight; group += kGroup) {
            for (unsigned x = band; x < std::min(band + kGroup, unsigned{kScreenWidth});
                 x += kTileWidth) {
                for (unsigned y = group; y < std::min(group + kGroup, unsigned{kScreenHeight});
                     y += kTileHeight) {
                    order.emplace_back(x, y);
                }
            }
        }
    }
    return order;
}

std::vector<Corner> tile_order_table() {
    std::vector<Corner> order;
    for (std::size_t t = 0; t < kTileCount; ++t) {
        order.emplace_back(kTileOrder[2 * t], kTileOrder[2 * t + 1]);
    }
    return order;
}

TEST(TileOrder, FollowsTheRuleOfGroupsBandsAndColumns) {
    const std::vector<Corner> expected = tile_order_by_rule();
    ASSERT_EQ(expected.size(), kTileCount);
    EXPECT_EQ(tile_order_table(), expected);
}

TEST(TileOrder, CoversEveryPixelExactlyOnce) {
    std::vector<int> covered(kPixelCount, 0);
    for (const auto& [x, y] : tile_order_table()) {
        for (std::size_t r = 0; r < kTileHeight; ++r) {
            for (std::size_t c = 0; c < kTileWidth; ++c) {
                ASSERT_LT(x + c, kScreenWidth);
                ASSERT_LT(y + r, kScreenHeight);
                ++covered[grid_index(x + c, y + r)];
            }
        }
    }
    EXPECT_TRUE(std::all_of(covered.begin(), covered.end(), [](int n) { return n == 1; }));
}

}  // namespace
}  // namespace tvk
