#include "contact_sheet.h"

#include <algorithm>
#include <memory>

#include "archive_format.h"
#include "parallel_jobs.h"
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

Picture contact_sheet(const EntryStore& store, unsigned jobs) {
    const PictureSize size = contact_sheet_size(store.count());
    Picture sheet{size.width, size.height, {}};
    sheet.argb.assign(
        static_cast<std::size_t>(sheet.width) * static_cast<std::size_t>(sheet.height),
        kSheetBackground);
    // Each screen fills its own place in the sheet, so the screens are drawn side by side.
    run_jobs(store.count(), jobs, [&store, &sheet](std::size_t i) {
        auto grid = std::make_unique<PixelGrid>();
        decode_screen(store.screen_block(i), *grid);
        const std::size_t left = (i % kSheetColumns) * (kScreenWidth + kSheetGap);
        const std::size_t top = (i / kSheetColumns) * (kScreenHeight + kSheetGap);
        for (std::size_t y = 0; y < kScreenHeight; ++y) {
            for (std::size_t x = 0; x < kScreenWidth; ++x) {
                sheet.argb[(top + y) * static_cast<std::size_t>(sheet.width) + left + x] =
                    argb_from_colour((*grid)[grid_index(x, y)]);
            }
        }
        return std::string();
    });
    return sheet;
}

}  // namespace tvk
