#include "tvk_command.h"

#include "tvk_version.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string_view>

#include "cli_support.h"
#include "commands.h"

namespace tvk {
namespace {

struct CommandSpec {
    std::string_view name;
    std::string_view operands;  // as in the usage line; optional ones in brackets
    std::string_view summary;
    std::string_view details;
    bool takes_force;
    int (*run)(const Invocation&, CliContext&);
};

constexpr std::array<CommandSpec, 14> kCommands = {{
    {"list", "ARCHIVE", "one line per entry: index, name hash, name",
     "Prints one line per entry in file order: the index, a TAB, the name hash as 8 lowercase hex\n"
     "digits, a TAB, the stored name as UTF-8 (each stored byte the character of the same "
     "value).\n",
     false, command_list},
    {"info", "ARCHIVE", "the header's fields and the file's size",
     "Prints the header's fields, the entry count as the reader takes it, and the file's size\n"
     "against the size that the header implies.\n",
     false, command_info},
    {"verify", "ARCHIVE", "check the header, the file's length and every checksum",
     "Prints one line per problem (a damaged header, a record the file does not hold in full, a\n"
     "name record or screen block with a wrong checksum) and exits with 1 when there is any.\n"
     "Prints nothing and exits with 0 when the archive is whole.\n",
     false, command_verify},
    {"new", "ARCHIVE", "write an empty archive",
     "Writes an archive without entries. An existing file is replaced only with --force.\n", true,
     command_new},
    {"add", "ARCHIVE NAME [IMAGE]", "add an entry at the end",
     "Adds an entry at the end with a blank screen, or with IMAGE's screen (120 x 112 pixels, at\n"
     "most 63 colours). No two entries may have the same name hash.\n",
     false, command_add},
    {"insert", "ARCHIVE INDEX NAME [IMAGE]", "insert an entry at INDEX",
     "Inserts an entry at INDEX (0 to the entry count) with a blank screen, or with IMAGE's\n"
     "screen. The entries from INDEX on move up by one.\n",
     false, command_insert},
    {"rename", "ARCHIVE INDEX NAME", "rename an entry",
     "Gives the entry at INDEX a new name; its screen stays.\n", false, command_rename},
    {"delete", "ARCHIVE INDEX", "delete an entry", "Deletes the entry at INDEX.\n", false,
     command_delete},
    {"move", "ARCHIVE FROM TO", "move an entry",
     "Moves the entry at FROM so that its index is TO afterwards; the entries between shift by "
     "one.\n",
     false, command_move},
    {"export", "ARCHIVE INDEX PNG", "write an entry's screen as a PNG picture",
     "Writes the screen of the entry at INDEX as a 120 x 112 PNG picture, replacing PNG.\n", false,
     command_export},
    {"import", "ARCHIVE INDEX IMAGE", "replace an entry's screen with a picture",
     "Replaces the screen of the entry at INDEX with IMAGE, which must be 120 pixels wide and 112\n"
     "high and hold at most 63 colours (PNG, BMP, GIF, JPEG and more).\n",
     false, command_import},
    {"unpack", "ARCHIVE DIR", "write every screen as a PNG picture, with a manifest",
     "Writes one PNG picture per entry into DIR (0000.png, 0001.png, ...) and the manifest\n"
     "manifest.txt, which lists the entries in order with their names. Screen blocks that a "
     "picture\n"
     "cannot rebuild byte for byte are kept beside it (0000.block, ...). DIR is made when "
     "missing;\n"
     "an existing DIR must be empty unless --force is given.\n",
     true, command_unpack},
    {"pack", "DIR ARCHIVE", "rebuild an archive from an unpacked DIR",
     "Builds ARCHIVE from DIR's manifest.txt and pictures, replacing ARCHIVE. An untouched unpack\n"
     "gives back the archive byte for byte (record checksums recomputed). A changed picture is\n"
     "imported; edit the manifest to rename, reorder, add or remove entries.\n",
     false, command_pack},
    {"sheet", "ARCHIVE PNG", "every screen in one PNG picture",
     "Writes every entry's screen into one PNG picture, in index order, 8 to a row.\n", false,
     command_sheet},
}};

constexpr std::string_view kIntroduction =
    "Usage: tvk COMMAND ARGUMENTS...\n"
    "Edits a screen archive (TVK.DAT) from the command line.\n";
constexpr std::string_view kClosing =
    "Options:\n"
    "  --help     this help; after a command, that command's help\n"
    "  --version  the version\n"
    "  --force    for new and unpack: replace or write into what exists\n"
    "  --         ends the options, so that a NAME may begin with --\n"
    "\n"
    "INDEX counts entries from 0. NAME is UTF-8 text of at most 56 characters from U+0001 to\n"
    "U+00FF. Exit status: 0 done, 1 error, 2 wrong usage.\n";

// The command with its operands, as the usage lines show it.
std::string synopsis(const CommandSpec& command) {
    std::string text = std::string(command.name) + " " + std::string(command.operands);
    return command.takes_force ? text + " [--force]" : text;
}

void print_usage(std::ostream& stream) {
    constexpr std::size_t kSummaryColumn = 36;
    stream << kIntroduction << "\nCommands:\n";
    for (const CommandSpec& command : kCommands) {
        const std::string left = synopsis(command);
        stream << "  " << left << std::string(kSummaryColumn - left.size(), ' ') << command.summary
               << '\n';
    }
    stream << '\n' << kClosing;
}

std::string usage_line(const CommandSpec& command) {
    return "Usage: tvk " + synopsis(command) + "\n";
}

void print_command_help(std::ostream& stream, const CommandSpec& command) {
    stream << usage_line(command) << '\n' << command.details;
}

int usage_error(CliContext& context, std::string_view message, const CommandSpec* command) {
    context.err << "tvk: " << message << '\n';
    if (command) {
        context.err << usage_line(*command) << "Try 'tvk " << command->name
                    << " --help' for more.\n";
    } else {
        print_usage(context.err);
    }
    return kExitUsage;
}

const CommandSpec* find_command(std::string_view name) {
    for (const CommandSpec& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

bool is_option(std::string_view argument) {
    return argument == "-h" || argument.starts_with("--");
}

bool is_index_operand(std::string_view operand_name) {
    return operand_name == "INDEX" || operand_name == "FROM" || operand_name == "TO";
}

// Checks the operands against the usage line: their number, and that every index is a number.
int check_operands(CliContext& context, const CommandSpec& command, const Invocation& call) {
    std::size_t required = 0;
    std::size_t allowed = 0;
    std::string_view names = command.operands;
    while (!names.empty()) {
        const std::size_t end = std::min(names.find(' '), names.size());
        const std::string_view name = names.substr(0, end);
        names.remove_prefix(std::min(end + 1, names.size()));
        if (allowed < call.operands.size() && is_index_operand(name) &&
            !is_index_text(call.operands[allowed])) {
            return usage_error(context,
                               "'" + call.operands[allowed] + "' is not an index (0, 1, 2, ...)",
                               &command);
        }
        ++allowed;
        if (!name.starts_with("[")) {
            required = allowed;
        }
    }
    if (call.operands.size() < required || call.operands.size() > allowed) {
        return usage_error(context, std::string(command.name) + ": wrong number of arguments",
                           &command);
    }
    return kExitOk;
}

}  // namespace

int run_tvk(const std::vector<std::string>& arguments, CliContext& context) {
    if (arguments.empty()) {
        return usage_error(context, "no command given", nullptr);
    }
    const std::string& first = arguments.front();
    if (first == "--help" || first == "-h") {
        print_usage(context.out);
        return kExitOk;
    }
    if (first == "--version") {
        context.out << "tvk " << kVersion << '\n';
        return kExitOk;
    }
    const CommandSpec* command = find_command(first);
    if (!command) {
        const std::string what = is_option(first) ? "unknown option '" : "unknown command '";
        return usage_error(context, what + first + "'", nullptr);
    }
    Invocation call;
    bool options_ended = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (options_ended || !is_option(argument)) {
            call.operands.push_back(argument);
        } else if (argument == "--") {
            options_ended = true;
        } else if (argument == "--help" || argument == "-h") {
            print_command_help(context.out, *command);
            return kExitOk;
        } else if (argument == "--force" && command->takes_force) {
            call.force = true;
        } else {
            return usage_error(context, "unknown option '" + argument + "'", command);
        }
    }
    if (const int status = check_operands(context, *command, call); status != kExitOk) {
        return status;
    }
    return command->run(call, context);
}

}  // namespace tvk
