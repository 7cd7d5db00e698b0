// export, import and sheet: screens to and from image files.
#include <memory>
#include <optional>

#include "cli_support.h"
#include "commands.h"
#include "contact_sheet.h"
#include "messages.h"
#include "screen_codec.h"
#include "screen_image.h"

namespace tvk {

int command_export(const Invocation& call, CliContext& context) {
    EntryStore store;
    const std::optional<std::size_t> index =
        load_archive_entry(context, call.operands[0], call.operands[1], store);
    if (!index) {
        return kExitError;
    }
    auto grid = std::make_unique<PixelGrid>();
    decode_screen(store.screen_block(*index), *grid);
    const std::string& png = call.operands[2];
    if (const std::error_code error =
            export_png(context.images, *grid, path_from_utf8(png), context.file_ops)) {
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
    const ImportResult result = screen_from_picture(
        context.images.read_picture(path_from_utf8(image)), store.screen_block(*index));
    if (result != ImportResult::imported) {
        return report_file_error(context, image, message_for(result));
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
    const std::optional<std::string> bytes = context.images.encode_png(contact_sheet(store));
    const std::error_code error = bytes ? write_file_bytes(context, path_from_utf8(png), *bytes)
                                        : make_error_code(FileError::not_encoded);
    if (error) {
        return report_file_error(context, png, kCantSave, error);
    }
    return kExitOk;
}

}  // namespace tvk
