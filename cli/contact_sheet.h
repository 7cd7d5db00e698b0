#pragma once

#include <cstdint>

#include "entry_store.h"
#include "image_files.h"
#include "screen_format.h"

namespace tvk {

inline constexpr int kSheetColumns = 8;
inline constexpr int kSheetGap = 1;                            // pixels between two screens
inline constexpr std::uint32_t kSheetBackground = 0xFF808080;  // the gaps and empty places
// A larger sheet (512 MiB of pixels, some 9000 entries) is refused before anything is allocated.
inline constexpr std::uint64_t kMostSheetPixels = std::uint64_t{1} << 27;

// A damaged header can announce thousands of entries its file holds no screens for; a sheet shows
// at most this many entries more than the file has room for, so that its memory stays in
// proportion to the file.
inline constexpr std::size_t kSheetEntriesBeyondTheFile = 256;

// Whether the sheet of `count` entries of an archive file of `file_size` bytes may be made.
bool contact_sheet_fits(std::size_t count, std::uint64_t file_size);

// The size of the sheet of `count` entries (at least one).
PictureSize contact_sheet_size(std::size_t count);

// The sheet is made of bands, each a row of screens and the gap below it.
inline constexpr std::size_t kSheetBandRows = kScreenHeight + kSheetGap;

// Rows [first, end) of the sheet showing every entry's screen in index order, kSheetColumns to a
// row, as ARGB pixels into `argb`, one row of contact_sheet_size(count).width pixels after the
// other. Only the screens that the rows show are decoded. The store must not be empty.
void contact_sheet_rows(const EntryStore& store, std::size_t first, std::size_t end,
                        std::uint32_t* argb);

}  // namespace tvk
