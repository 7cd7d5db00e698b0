#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "entry_store.h"
#include "image_files.h"

namespace tvk {

// "Can't open (REASON)": a file that could not be read, with the reason it gave.
std::string cant_open_because(std::string_view reason);

// Takes a read picture file as a new screen into `block`; the message tvk reports about the file
// when it cannot (unreadable, wrong size, too many colours), empty when `block` got the screen.
std::string screen_from_picture_file(const PictureFile& file, ScreenBlock& block);

// Reads `file` and takes it as a new screen, as above.
std::string import_screen_file(ImageFiles& images, const std::filesystem::path& file,
                               ScreenBlock& block);

}  // namespace tvk
