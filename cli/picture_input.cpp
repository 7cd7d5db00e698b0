#include "picture_input.h"

#include "messages.h"
#include "screen_image.h"

namespace tvk {

std::string cant_open_because(std::string_view reason) {
    return std::string(kCantOpen) + " (" + std::string(reason) + ")";
}

std::string screen_from_picture_file(const PictureFile& file, ScreenBlock& block) {
    if (!file.error.empty()) {
        return cant_open_because(file.error);
    }
    return std::string(message_for(screen_from_picture(file.picture, block)));
}

std::string import_screen_file(ImageFiles& images, const std::filesystem::path& file,
                               ScreenBlock& block) {
    return screen_from_picture_file(read_screen_picture(images, file), block);
}

}  // namespace tvk
