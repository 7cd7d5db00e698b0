#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "entry_store.h"
#include "image_files.h"
#include "picture_bytes.h"
#include "screen_format.h"

namespace tvk::test {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

// ARGB of pixel (x, y).
using PixelSource = std::function<std::uint32_t(int x, int y)>;

// Each test gets a folder of its own, the built tvk, and builders for archives and pictures.
class CliTest : public ::testing::Test {
  protected:
    CliTest();
    ~CliTest() override;

    // A path in the test's folder, as the UTF-8 text a command line gets.
    std::string at(const std::string& name) const;
    std::filesystem::path path(const std::string& name) const;

    // Runs the built tvk with these arguments, standard input empty.
    RunResult tvk(const std::vector<std::string>& arguments) const;

    std::string read(const std::string& name) const;
    void write(const std::string& name, const std::string& bytes) const;

    // Writes a picture through QImage, alpha kept.
    void write_picture(const std::string& name, int width, int height,
                       const PixelSource& argb) const;
    Picture read_picture(const std::string& name) const;

    std::filesystem::path m_root;
    std::filesystem::path m_folder;
    std::unique_ptr<ImageFiles> m_images;
};

// A 120 x 112 screen of `colours` distinct colours (none black): colour (x + y) % colours, the
// colour numbered n being base + n * 0x030507.
PixelGrid grid_with_colours(int colours, ColourValue base = 0x00102030u);

ScreenBlock block_of(const PixelGrid& grid);
PixelGrid screen_of(const ScreenBlock& block);
// The ARGB picture source of a grid, alpha as given.
PixelSource source_of(const PixelGrid& grid, std::uint32_t alpha = 0xFF000000u);

// Appends an entry whose name field holds `latin1` (bytes as they are), data size 10344.
void add_entry(EntryStore& store, const std::string& latin1, const ScreenBlock& block);
// The archive file of the store, as the core writes it.
std::string archive_bytes(EntryStore& store);
// The archive file that loading `bytes` and saving the store again gives.
std::string resaved(const std::string& bytes);
EntryStore load(const std::string& bytes);
// Stores `checksum` in the archive file's record at `offset`, its plain bytes kept.
void set_stored_checksum(std::string& file, std::size_t offset, std::size_t length,
                         std::uint32_t checksum);

}  // namespace tvk::test
