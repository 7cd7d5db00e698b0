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

// A damaged header can announce thousands of entries its file holds no screens for; a sheet shows
// at most this many entries more than the file has room for, so that its memory stays in
// proportion to the file.
inline constexpr std::size_t kSheetEntriesBeyondTheFile = 256;

// Whether the sheet of `count` entries of an archive file of `file_size` bytes may be made.
bool contact_sheet_fits(std::size_t count, std::uint64_t file_size);

// The size of the sheet of `count` entries (at least one).
PictureSize contact_sheet_size(std::size_t count);

// Every entry's screen in one picture, in index order, kSheetColumns to a row, the screens drawn
// on `jobs` threads. The store must not be empty.
Picture contact_sheet(const EntryStore& store, unsigned jobs);

}  // namespace tvk
