#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tvk {

// What the editor's command line asks for: the window (with an archive to open at start, or
// none), the help or the version printed instead, or nothing because the line is wrong.
struct StartArguments {
    enum class Action { open_window, print_help, print_version, refuse };
    Action action = Action::open_window;
    std::optional<std::string> archive;  // the path as given
    std::string problem;                 // for `refuse`: what is wrong, in a few words
};

// Reads the arguments after the program's name. --help (or -h) and --version win wherever they
// stand; "--" ends the options, so an archive's name may begin with "-".
StartArguments read_start_arguments(const std::vector<std::string>& arguments);

inline constexpr std::string_view kEditorUsage =
    "Usage: tvk-edit [ARCHIVE]\n"
    "Edits a screen archive (TVK.DAT) in a window; ARCHIVE, when given, is opened at start.\n"
    "\n"
    "Options:\n"
    "  --help     this help\n"
    "  --version  the version\n"
    "  --         ends the options, so that ARCHIVE may begin with -\n";

}  // namespace tvk
