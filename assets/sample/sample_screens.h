#pragma once

#include <span>
#include <string>
#include <string_view>

#include "entry_store.h"
#include "screen_format.h"

namespace tvk {

// One picture of the sample archive, drawn by code.
struct SampleScreen {
    std::string_view name;  // UTF-8, characters up to U+00FF only
    void (*draw)(PixelGrid& grid);
};

// The sample archive's entries, in file order: a title card, a sunset, a checkered floor, every
// colour a screen may hold, and a street at night.
std::span<const SampleScreen> sample_screens();

// Fills an empty store with the sample entries. Returns an error message, empty on success.
std::string build_sample_archive(EntryStore& store);

}  // namespace tvk
