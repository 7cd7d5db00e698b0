#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "screen_format.h"
#include "temp_folder.h"

namespace tvk::test {

// The folder of the running program, where the build puts the programs and the test data.
std::filesystem::path program_folder();

// A screen whose pixel (x, y) takes colour(x, y).
PixelGrid make_grid(const std::function<ColourValue(int x, int y)>& colour);

// An archive entry: stored name bytes and screen.
struct ArchiveEntry {
    std::string name;
    PixelGrid screen;
};

// Writes an archive of these entries through the archive code.
void write_archive(const std::filesystem::path& file, const std::vector<ArchiveEntry>& entries);
// The names and screens of an archive file, read through the archive code.
std::vector<ArchiveEntry> read_archive(const std::filesystem::path& file);

}  // namespace tvk::test
