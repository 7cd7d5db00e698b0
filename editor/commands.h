#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "dialog_layout.h"
#include "messages.h"

namespace tvk {

// Everything the user can ask of the editor by a button or a key.
enum class Command {
    open_archive,
    save_archive,
    rename,
    add,
    insert,
    delete_entry,
    move_up,
    move_down,
    set_screen,
    save_screen,
    undo,
    redo,
};

// Undo and redo have no button; these ids name them where a front end needs a number.
inline constexpr int kUndoCommandId = 1101;
inline constexpr int kRedoCommandId = 1102;

struct CommandBinding {
    int id;  // the button's control id, or one of the ids above
    Command command;
    // Shown when the command fails in a way it has no message of its own for (memory ran out).
    std::string_view failure_warning;
};

inline constexpr std::array<CommandBinding, 12> kCommands = {{
    {kOpenId, Command::open_archive, kCantOpen},
    {kSaveId, Command::save_archive, kCantSave},
    {kRenameId, Command::rename, kTooManyEntries},
    {kAddId, Command::add, kTooManyEntries},
    {kInsertId, Command::insert, kTooManyEntries},
    {kDeleteId, Command::delete_entry, kTooManyEntries},
    {kMoveUpId, Command::move_up, kTooManyEntries},
    {kMoveDownId, Command::move_down, kTooManyEntries},
    // An unreadable picture reads as 0 x 0.
    {kSetScreenId, Command::set_screen, kBadWidth},
    {kSaveScreenId, Command::save_screen, kCantSave},
    {kUndoCommandId, Command::undo, kTooManyEntries},
    {kRedoCommandId, Command::redo, kTooManyEntries},
}};

// The command of a button or command id; nullopt for any other id.
std::optional<Command> command_for_id(int id);
const CommandBinding& binding_of(Command command);

// The keyboard shortcuts, each a letter pressed with Ctrl (and Shift where it says so).
struct KeyBinding {
    char letter;  // upper case, as the key is labelled
    bool shift;
    Command command;
    // A one-line text box undoes typing with this key: there it keeps that meaning.
    bool undoes_typing;
};

inline constexpr std::array<KeyBinding, 5> kCommandKeys = {{
    {'Z', false, Command::undo, true},
    {'Y', false, Command::redo, false},
    {'Z', true, Command::redo, false},
    {'O', false, Command::open_archive, false},
    {'S', false, Command::save_archive, false},
}};

}  // namespace tvk
