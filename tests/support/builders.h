#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "entry_store.h"
#include "image_files.h"
#include "screen_format.h"

// The one set of builders every suite uses: screens, archives (as stores and as file bytes) and
// pictures. Archive files are std::string, byte for byte.
namespace tvk::test {

// --- Screens ---
PixelGrid solid_grid(ColourValue colour);
// A screen whose pixel (x, y) takes colour(x, y).
PixelGrid make_grid(const std::function<ColourValue(int x, int y)>& colour);
// A screen of `colours` distinct colours, none black: colour (x + y) % colours, the colour
// numbered n being base + n * 0x030507.
PixelGrid grid_with_colours(int colours, ColourValue base = 0x00102030u);
// A screen of `count` distinct colours at random places, each used at least once; bits 24-31 of
// each colour random when `noisy_upper_bits`.
PixelGrid random_grid(std::size_t count, unsigned seed, bool noisy_upper_bits);
// The screen encoded; fails the test when it cannot be.
ScreenBlock block_of(const PixelGrid& grid);
PixelGrid screen_of(const ScreenBlock& block);
PixelGrid screen_of(const EntryStore& store, std::size_t i);

// --- Archives ---
// An entry: its stored name bytes (Latin-1, as they are) and its screen.
struct TestEntry {
    std::string name;
    PixelGrid screen;
};
// Appends an entry with the data size the programs write.
void add_entry(EntryStore& store, const std::string& latin1, const ScreenBlock& block);
EntryStore store_of(const std::vector<TestEntry>& entries);
// `count` entries named "Entry 0", "Entry 1", ..., each block random bytes seeded by its index.
EntryStore numbered_store(std::size_t count);
// The archive file of a store, as the core writes it.
std::string archive_bytes(EntryStore& store);
// The result of loading `bytes` into `store` (kLoaded, ...).
int load_status(EntryStore& store, const std::string& bytes);
// The store that `bytes` load into; fails the test when they do not load.
EntryStore load(const std::string& bytes);
void write_archive(const std::filesystem::path& file, const std::vector<TestEntry>& entries);
// Entry i's stored name bytes, up to the first NUL.
std::string stored_name(const EntryStore& store, std::size_t i);
// A 64-byte plain header with every field as the writer fills it for `count` entries.
std::string plain_header(std::uint32_t count);
// Checksums and scrambles a plain record, as it is stored in a file.
std::string stored_record(std::string plain);
// The file of just a stored header announcing `count` entries: every record it announces is
// missing.
std::string header_only_archive(std::uint16_t count);
// Stores `checksum` in the file's record at `offset`, its plain bytes kept.
void set_stored_checksum(std::string& file, std::size_t offset, std::size_t length,
                         std::uint32_t checksum);

// --- Pictures ---
// The screen as an ARGB picture, every pixel with this alpha.
Picture picture_of(const PixelGrid& grid, std::uint32_t alpha = 0xFF000000u);
Picture solid_picture(int width, int height, std::uint32_t argb);

}  // namespace tvk::test
