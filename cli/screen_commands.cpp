// export, import and sheet: screens to and from image files.
#include <cstdint>
#include <filesystem>
#include <new>
#include <optional>
#include <string>

#include "cli_support.h"
#include "commands.h"
#include "contact_sheet.h"
#include "file_error.h"
#include "messages.h"
#include "picture_input.h"
#include "picture_palette.h"
#include "png_strips.h"
#include "screen_image.h"

namespace tvk {

int command_export(const Invocation& call, CliContext& context) {
    EntryStore store;
    const std::optional<std::size_t> index =
        load_archive_entry(context, call.operands[0], call.operands[1], store);
    if (!index) {
        return kExitError;
    }
    const std::string& png = call.operands[2];
    const std::optional<std::string> bytes =
        encode_screen_png(context.images, store.screen_block(*index), png_form(call));
    const std::error_code error = bytes ? write_file_bytes(context, path_from_utf8(png), *bytes)
                                        : make_error_code(FileError::not_encoded);
    if (error) {
        return report_file_error(context, png, kCantSave, error);
    }
    return kExitOk;
}

int command_import(const Invocation& call, CliContext& context) {
    EntryStore store;
    const std::optional<std::size_t> index =
        load_archive_entry(context, call.operands[0], call.operands[1], store);
    if (!index) {
        return kExitError;
    }
    const std::string& image = call.operands[2];
    const std::string refused =
        import_screen_file(context.images, path_from_utf8(image), store.screen_block(*index));
    if (!refused.empty()) {
        return report_file_error(context, image, refused);
    }
    return save_archive_argument(context, call.operands[0], store);
}

int command_sheet(const Invocation& call, CliContext& context) {
    EntryStore store;
    if (!load_archive_argument(context, call.operands[0], store)) {
        return kExitError;
    }
    if (store.count() == 0) {
        return report_file_error(context, call.operands[0], "The archive has no entries to show");
    }
    const std::string& png = call.operands[1];
    const PictureSize size = contact_sheet_size(store.count());
    const std::string too_large = "The sheet of " + std::to_string(size.width) + " x " +
                                  std::to_string(size.height) + " pixels is too large to make";
    std::error_code unknown_size;
    const std::uintmax_t file_size =
        std::filesystem::file_size(path_from_utf8(call.operands[0]), unknown_size);
    if (!contact_sheet_fits(store.count(), unknown_size ? 0 : file_size)) {
        return report_file_error(context, png, too_large);
    }
    std::string bytes;
    try {
        // The sheet is drawn band by band as each thread needs it, never whole in memory.
        const ArgbRows rows = [&store](std::size_t first, std::size_t end, std::uint32_t* argb) {
            contact_sheet_rows(store, first, end, argb);
        };
        const unsigned jobs = jobs_of(call);
        PngLayout layout{size.width, size.height, {}};
        if (png_form(call) == PngForm::palette) {
            if (auto colours = palette_of_rows(size, kSheetBandRows, rows, jobs)) {
                layout.palette = std::move(*colours);
            }
        }
        bytes = png_in_strips(layout, kSheetBandRows, rows, jobs);
    } catch (const std::bad_alloc&) {
        return report_file_error(context, png, too_large);
    }
    if (const std::error_code error = write_file_bytes(context, path_from_utf8(png), bytes)) {
        return report_file_error(context, png, kCantSave, error);
    }
    return kExitOk;
}

}  // namespace tvk
