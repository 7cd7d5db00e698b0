#include <gtest/gtest.h>

#include "reference_codec.h"
#include "screen_codec.h"
#include "screen_grids.h"

namespace tvk {
namespace {

ScreenBlock reference_encoded(const PixelGrid& grid, int& result) {
    ScreenBlock block{};
    result = reference::encode_screen(grid, block);
    return block;
}

PixelGrid reference_decoded(const ScreenBlock& block) {
    PixelGrid grid{};
    reference::decode_screen(block, grid);
    return grid;
}

// Random grids of up to 63 colours, some with noise in bits 24-31: the block is byte-identical to
// the plain encoder's, and decoding it gives the grid back without bits 24-31.
TEST(CodecProperties, GridsOfAtMost63ColoursSurviveEncodeThenDecode) {
    unsigned seed = 100;
    for (const std::size_t count : {1, 2, 3, 8, 17, 31, 62, 63}) {
        for (const bool noisy : {false, true}) {
            const PixelGrid grid =
                test::random_grid(test::random_colours(count, seed, noisy), seed);
            ++seed;
            ScreenBlock block{};
            ASSERT_EQ(encode_screen(grid, block), kEncoded) << count << " colours";
            int reference_result = -1;
            const ScreenBlock expected = reference_encoded(grid, reference_result);
            ASSERT_EQ(reference_result, kEncoded);
            ASSERT_EQ(block, expected) << count << " colours, noisy " << noisy;
            ASSERT_EQ(test::decoded(block), test::without_upper_bits(grid)) << count << " colours";
        }
    }
}

TEST(CodecProperties, GridsOfMoreThan63ColoursAreRefusedLikeThePlainEncoder) {
    unsigned seed = 200;
    for (const std::size_t count : {64, 65, 100, 5000}) {
        const PixelGrid grid = test::random_grid(test::random_colours(count, seed, true), seed);
        ++seed;
        ScreenBlock block{};
        int reference_result = -1;
        reference_encoded(grid, reference_result);
        EXPECT_EQ(reference_result, kTooManyColours);
        EXPECT_EQ(encode_screen(grid, block), kTooManyColours) << count << " colours";
    }
}

// Random blocks decode like the plain decoder; their pictures re-encode when they have at most 63
// colours, the re-encoded block shows the same picture, and encoding that picture again gives the
// same block: after one round trip a block is stable.
TEST(CodecProperties, RandomBlocksDecodeAndReencodeConsistently) {
    for (unsigned seed = 300; seed < 340; ++seed) {
        const unsigned used = 1 + seed % kPaletteEntries;
        const ScreenBlock block = test::random_block(seed, used);
        const PixelGrid picture = test::decoded(block);
        ASSERT_EQ(picture, reference_decoded(block)) << "seed " << seed;

        ScreenBlock again{};
        const int result = encode_screen(picture, again);
        int reference_result = -1;
        const ScreenBlock expected = reference_encoded(picture, reference_result);
        ASSERT_EQ(result, reference_result) << "seed " << seed;
        if (used < kPaletteEntries) {
            ASSERT_EQ(result, kEncoded) << "seed " << seed;
        }
        if (result != kEncoded) {
            continue;
        }
        ASSERT_EQ(again, expected) << "seed " << seed;
        ASSERT_EQ(test::decoded(again), picture) << "seed " << seed;
        ScreenBlock stable{};
        ASSERT_EQ(encode_screen(test::decoded(again), stable), kEncoded);
        ASSERT_EQ(stable, again) << "seed " << seed;
    }
}

}  // namespace
}  // namespace tvk
