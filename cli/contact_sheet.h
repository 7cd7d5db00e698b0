#pragma once

#include "entry_store.h"
#include "image_files.h"

namespace tvk {

inline constexpr int kSheetColumns = 8;
inline constexpr int kSheetGap = 1;                            // pixels between two screens
inline constexpr std::uint32_t kSheetBackground = 0xFF808080;  // the gaps and empty places

// Every entry's screen in one picture, in index order, kSheetColumns to a row. The store must not
// be empty.
Picture contact_sheet(const EntryStore& store);

}  // namespace tvk
