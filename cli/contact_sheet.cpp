#include "contact_sheet.h"

#include <algorithm>
#include <memory>

#include "screen_codec.h"
#include "screen_image.h"

namespace tvk {

Picture contact_sheet(const EntryStore& store) {
    const int count = static_cast<int>(store.count());
    const int columns = std::min(count, kSheetColumns);
    const int rows = (count + kSheetColumns - 1) / kSheetColumns;
    Picture sheet;
    sheet.width = columns * kScreenWidth + (columns - 1) * kSheetGap;
    sheet.height = rows * kScreenHeight + (rows - 1) * kSheetGap;
    sheet.argb.assign(
        static_cast<std::size_t>(sheet.width) * static_cast<std::size_t>(sheet.height),
        kSheetBackground);
    auto grid = std::make_unique<PixelGrid>();
    for (int i = 0; i < count; ++i) {
        decode_screen(store.screen_block(static_cast<std::size_t>(i)), *grid);
        const int left = (i % kSheetColumns) * (kScreenWidth + kSheetGap);
        const int top = (i / kSheetColumns) * (kScreenHeight + kSheetGap);
        for (int y = 0; y < kScreenHeight; ++y) {
            for (int x = 0; x < kScreenWidth; ++x) {
                const auto at =
                    static_cast<std::size_t>(top + y) * static_cast<std::size_t>(sheet.width) +
                    static_cast<std::size_t>(left + x);
                sheet.argb[at] = argb_from_colour(
                    (*grid)[grid_index(static_cast<std::size_t>(x), static_cast<std::size_t>(y))]);
            }
        }
    }
    return sheet;
}

}  // namespace tvk
