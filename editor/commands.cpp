#include "commands.h"

#include <algorithm>

namespace tvk {

std::optional<Command> command_for_id(int id) {
    const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                    [id](const CommandBinding& b) { return b.id == id; });
    if (found == kCommands.end()) {
        return std::nullopt;
    }
    return found->command;
}

const CommandBinding& binding_of(Command command) {
    return *std::find_if(kCommands.begin(), kCommands.end(),
                         [command](const CommandBinding& b) { return b.command == command; });
}

}  // namespace tvk
