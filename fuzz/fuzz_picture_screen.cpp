// Arbitrary bytes as a picture file read by the platform's image library and imported as a screen:
// the picture must come whole or not at all (its size alone when it is not a screen's), the import
// must refuse by width, then height, and an imported screen must decode to the picture's colours.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform_image_files.h"
#include "screen_codec.h"
#include "screen_image.h"

namespace {

using namespace tvk;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The library reads pictures from files: each input is written to one file of this process.
const std::filesystem::path& input_file() {
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("tvk-fuzz-picture-" + std::to_string(::getpid()));
    static const bool removed_at_exit = [] {
        return std::atexit([] {
                   std::error_code ignored;
                   std::filesystem::remove(input_file(), ignored);
               }) == 0;
    }();
    (void)removed_at_exit;
    return file;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::unique_ptr<ImageFiles> images = make_platform_image_files();
    {
        // A new file each time: truncating one with data in it makes the file system write it out
        // on close, which took more time than the rest of the input.
        std::error_code ignored;
        std::filesystem::remove(input_file(), ignored);
        std::ofstream file(input_file(), std::ios::binary);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        check(file.good());
    }
    const PictureFile read = read_screen_picture(*images, input_file());
    const Picture& picture = read.picture;
    check(picture.width >= 0 && picture.height >= 0);
    // Pixels come whole, and only for a picture of the screen's size that could be read.
    const bool screen_size = picture.width == kScreenWidth && picture.height == kScreenHeight;
    check(read.error.empty() || (picture.width == 0 && picture.height == 0));
    check(picture.argb.size() == (screen_size ? kPixelCount : 0));
    auto block = std::make_unique<ScreenBlock>();
    const ImportResult result = screen_from_picture(picture, *block);
    if (picture.width != kScreenWidth) {
        check(result == ImportResult::bad_width);
        return 0;
    }
    if (picture.height != kScreenHeight) {
        check(result == ImportResult::bad_height);
        return 0;
    }
    if (result != ImportResult::imported) {
        check(result == ImportResult::too_many_colours);
        return 0;
    }
    auto grid = std::make_unique<PixelGrid>();
    decode_screen(*block, *grid);
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            check((*grid)[grid_index(x, y)] == colour_from_argb(picture.pixel(x, y)));
        }
    }
    return 0;
}
