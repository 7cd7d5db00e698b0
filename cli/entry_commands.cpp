// list, new, and the commands that edit the list of entries.
#include <algorithm>
#include <memory>
#include <optional>
#include <system_error>

#include "cli_support.h"
#include "commands.h"
#include "entry_editing.h"
#include "name_quoting.h"
#include "name_text.h"
#include "picture_input.h"
#include "screen_image.h"

namespace tvk {
namespace {

// A NAME operand as a name record. Beyond the rules of every name, a control character is
// refused: typed on a command line it is almost always a mistake, and it would be invisible.
ParsedName parse_name_operand(std::string_view text) {
    ParsedName parsed = parse_utf8_name(text);
    if (!parsed.record) {
        return parsed;
    }
    const auto* field = parsed.record->bytes.data() + kNameOffset;
    if (std::any_of(field, field + kNameLength,
                    [](std::uint8_t byte) { return byte != 0 && is_control_byte(byte); })) {
        return {std::nullopt,
                "The name may not hold control characters (U+0001 to U+001F, U+007F to U+009F)"};
    }
    return parsed;
}

// Adds an entry named `name` at `position` (the end when empty), with IMAGE's screen when given.
int add_entry(CliContext& context, const std::string& archive, const std::string* position,
              const std::string& name, const std::string* image) {
    const ParsedName parsed = parse_name_operand(name);
    if (!parsed.record) {
        return report_error(context, parsed.error);
    }
    EntryStore store;
    if (!load_archive_argument(context, archive, store)) {
        return kExitError;
    }
    std::size_t p = store.count();
    if (position) {
        const std::optional<std::size_t> index =
            checked_index(context, *position, store.count() + 1);
        if (!index) {
            return kExitError;
        }
        p = *index;
    }
    const EditResult result = insert_named_entry(store, p, *parsed.record);
    if (result != EditResult::done) {
        return report_error(context, message_for(result));
    }
    if (image) {
        const std::string refused =
            import_screen_file(context.images, path_from_utf8(*image), store.screen_block(p));
        if (!refused.empty()) {
            return report_file_error(context, *image, refused);
        }
    }
    return save_archive_argument(context, archive, store);
}

const std::string* optional_operand(const Invocation& call, std::size_t i) {
    return i < call.operands.size() ? &call.operands[i] : nullptr;
}

}  // namespace

int command_list(const Invocation& call, CliContext& context) {
    EntryStore store;
    if (!load_archive_argument(context, call.operands[0], store)) {
        return kExitError;
    }
    for (std::size_t i = 0; i < store.count(); ++i) {
        context.out << i << '\t' << hex_text(store.name_hash(i), 8) << '\t'
                    << escape_name(store.display_name(i)) << '\n';
    }
    return kExitOk;
}

int command_new(const Invocation& call, CliContext& context) {
    const std::string& archive = call.operands[0];
    std::error_code error;
    if (!call.force && std::filesystem::exists(path_from_utf8(archive), error)) {
        return report_file_error(context, archive, "The file exists; give --force to replace it");
    }
    EntryStore empty;
    return save_archive_argument(context, archive, empty);
}

int command_add(const Invocation& call, CliContext& context) {
    return add_entry(context, call.operands[0], nullptr, call.operands[1],
                     optional_operand(call, 2));
}

int command_insert(const Invocation& call, CliContext& context) {
    return add_entry(context, call.operands[0], &call.operands[1], call.operands[2],
                     optional_operand(call, 3));
}

int command_rename(const Invocation& call, CliContext& context) {
    const ParsedName parsed = parse_name_operand(call.operands[2]);
    if (!parsed.record) {
        return report_error(context, parsed.error);
    }
    EntryStore store;
    const std::optional<std::size_t> index =
        load_archive_entry(context, call.operands[0], call.operands[1], store);
    if (!index) {
        return kExitError;
    }
    const EditResult result = rename_entry(store, *index, *parsed.record);
    if (result != EditResult::done) {
        return report_error(context, message_for(result));
    }
    return save_archive_argument(context, call.operands[0], store);
}

int command_delete(const Invocation& call, CliContext& context) {
    EntryStore store;
    const std::optional<std::size_t> index =
        load_archive_entry(context, call.operands[0], call.operands[1], store);
    if (!index) {
        return kExitError;
    }
    store.remove_at(*index);
    return save_archive_argument(context, call.operands[0], store);
}

int command_move(const Invocation& call, CliContext& context) {
    EntryStore store;
    if (!load_archive_argument(context, call.operands[0], store)) {
        return kExitError;
    }
    const std::optional<std::size_t> from = checked_index(context, call.operands[1], store.count());
    if (!from) {
        return kExitError;
    }
    const std::optional<std::size_t> to = checked_index(context, call.operands[2], store.count());
    if (!to) {
        return kExitError;
    }
    move_entry(store, *from, *to);
    return save_archive_argument(context, call.operands[0], store);
}

}  // namespace tvk
