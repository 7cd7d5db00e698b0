#include "archive_lock.h"

#include <array>

#include "atomic_file.h"
#include "cli_support.h"

namespace tvk {
namespace {

struct ChangingCommand {
    std::string_view name;
    std::size_t archive_operand;
};

constexpr std::array<ChangingCommand, 8> kChangingCommands = {{
    {"new", 0},
    {"add", 0},
    {"insert", 0},
    {"rename", 0},
    {"delete", 0},
    {"move", 0},
    {"import", 0},
    {"pack", 1},
}};

}  // namespace

std::unique_ptr<FolderLock> lock_changed_archive(std::string_view command,
                                                 const std::vector<std::string>& operands) {
    for (const ChangingCommand& changing : kChangingCommands) {
        if (changing.name == command && changing.archive_operand < operands.size()) {
            // The folder of the file itself: two links to one archive take the same lock.
            const std::filesystem::path file =
                file_saved_at(path_from_utf8(operands[changing.archive_operand]));
            return std::make_unique<FolderLock>(file.parent_path());
        }
    }
    return nullptr;
}

}  // namespace tvk
