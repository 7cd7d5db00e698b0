#pragma once

#include <cstdint>

#include "entry_store.h"
#include "image_files.h"

namespace tvk {

inline constexpr int kSheetColumns = 8;
inline constexpr int kSheetGap = 1;                            // pixels between two screens
inline constexpr std::uint32_t kSheetBackground = 0xFF808080;  // the gaps and empty places
// A larger sheet (512 MiB of pixels, some 9000 entries) is refused before anything is allocated.
inline constexpr std::uint64_t kMostSheetPixels = std::uint64_t{1} << 27;

// The size of the sheet of `count` entries (at least one).
PictureSize contact_sheet_size(std::size_t count);

// Every entry's screen in one picture, in index order, kSheetColumns to a row, the screens drawn
// on `jobs` threads. The store must not be empty.
Picture contact_sheet(const EntryStore& store, unsigned jobs);

}  // namespace tvk
