#include "contact_sheet.h"

#include <algorithm>
#include <memory>

#include "archive_format.h"
#include "screen_codec.h"
#include "screen_image.h"

namespace tvk {

PictureSize contact_sheet_size(std::size_t count) {
    const std::size_t columns = std::min<std::size_t>(count, kSheetColumns);
    const std::size_t rows = (count + kSheetColumns - 1) / kSheetColumns;
    return {static_cast<int>(columns * kScreenWidth + (columns - 1) * kSheetGap),
            static_cast<int>(rows * kScreenHeight + (rows - 1) * kSheetGap)};
}

bool contact_sheet_fits(std::size_t count, std::uint64_t file_size) {
    const PictureSize size = contact_sheet_size(count);
    const std::uint64_t pixels =
        std::uint64_t{static_cast<unsigned>(size.width)} * static_cast<unsigned>(size.height);
    return pixels <= kMostSheetPixels &&
           count <= file_size / kBlockSize + kSheetEntriesBeyondTheFile;
}

void contact_sheet_rows(const EntryStore& store, std::size_t first, std::size_t end,
                        std::uint32_t* argb) {
    const auto width = static_cast<std::size_t>(contact_sheet_size(store.count()).width);
    std::fill(argb, argb + (end - first) * width, kSheetBackground);
    auto grid = std::make_unique<PixelGrid>();
    for (std::size_t band = first / kSheetBandRows; band * kSheetBandRows < end; ++band) {
        // The band's screen rows among those asked for; none when only its gap is.
        const std::size_t top = band * kSheetBandRows;
        const std::size_t from = std::max(first, top) - top;
        const std::size_t to = std::min<std::size_t>(end - top, kScreenHeight);
        for (std::size_t column = 0; column < kSheetColumns && from < to; ++column) {
            const std::size_t entry = band * kSheetColumns + column;
            if (entry >= store.count()) {
                break;
            }
            decode_screen(store.screen_block(entry), *grid);
            std::uint32_t* place =
                argb + (top + from - first) * width + column * (kScreenWidth + kSheetGap);
            // Column by column, as the grid holds its pixels: the rows written stay in the cache.
            for (std::size_t x = 0; x < kScreenWidth; ++x) {
                const ColourValue* column_pixels = grid->data() + grid_index(x, 0);
                for (std::size_t y = from; y < to; ++y) {
                    place[(y - from) * width + x] = argb_from_colour(column_pixels[y]);
                }
            }
        }
    }
}

}  // namespace tvk
