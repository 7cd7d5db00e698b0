#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "entry_store.h"
#include "image_files.h"
#include "screen_format.h"

namespace tvk::test {

// An entry of a test archive: its stored name bytes and the one colour of its screen.
struct TestEntry {
    std::string name;
    ColourValue colour;
};

PixelGrid solid_grid(ColourValue colour);
ScreenBlock solid_block(ColourValue colour);
// The screen that entry i's block holds. Compared instead of the blocks, whose bytes 0..3 hold
// whatever checksum was read or written last.
PixelGrid screen_of(const EntryStore& store, std::size_t i);

// Writes an archive of these entries, each name record with the data size the editor writes.
void write_archive(const std::filesystem::path& file, const std::vector<TestEntry>& entries);
void write_archive(const std::filesystem::path& file,
                   const std::vector<std::pair<std::string, ScreenBlock>>& entries);

// The archive file whose header announces `count` entries and that holds nothing after the header:
// every record it announces reads as zero bytes.
std::string header_only_archive(std::uint16_t count);

// Entry i's stored name bytes, up to the first NUL.
std::string stored_name(const EntryStore& store, std::size_t i);

// A 120 x 112 picture whose pixel (x, y) is colour number (x * 112 + y) % colours, every colour
// opaque and distinct, colour 0 being black.
Picture picture_with_colours(int colours);
Picture solid_picture(int width, int height, std::uint32_t argb);

}  // namespace tvk::test
