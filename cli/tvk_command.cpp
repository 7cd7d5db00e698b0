#include "tvk_command.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <ostream>
#include <string_view>
#include <vector>

#include "archive_lock.h"
#include "cli_support.h"
#include "commands.h"
#include "tvk_version.h"

namespace tvk {
namespace {

struct CommandSpec {
    std::string_view name;
    std::string_view operands;  // as in the usage line; optional ones in brackets
    std::string_view summary;
    std::string_view details;
    unsigned options;  // the kTakes... flags below
    int (*run)(const Invocation&, CliContext&);
};

constexpr unsigned kTakesForce = 1;  // --force
constexpr unsigned kTakesRgb = 2;    // --rgb
constexpr unsigned kTakesJobs = 4;   // --jobs N
constexpr std::uint64_t kMostJobs = 256;

constexpr std::array<CommandSpec, 15> kCommands = {{
    {"list", "ARCHIVE", "one line per entry: index, name hash, name",
     "Prints one line per entry in file order: the index, a TAB, the name hash as 8 lowercase hex\n"
     "digits, a TAB, the stored name as UTF-8 (each stored byte the character of the same value).\n"
     "In the name, a control character (U+0000 to U+001F, U+007F to U+009F) is written \\xHH and "
     "a\n"
     "backslash \\\\, as in the manifest of unpack, so every line holds exactly two TABs.\n",
     0, command_list},
    {"info", "ARCHIVE", "the header's fields and the file's size",
     "Prints the header's fields, the entry count as the reader takes it, and the file's size\n"
     "against the size that the header implies.\n",
     0, command_info},
    {"verify", "ARCHIVE", "check the header, the file's length and every checksum",
     "Prints one line per problem (a damaged header, a record the file does not hold in full, a\n"
     "name record or screen block with a wrong checksum) and exits with 1 when there is any.\n"
     "Prints nothing and exits with 0 when the archive is whole.\n",
     0, command_verify},
    {"diff", "OLD NEW", "the entries added, removed, renamed, moved or changed",
     "Compares two archives entry by entry and prints one line per difference, with the entry's\n"
     "index in OLD and in NEW and its name quoted as in the manifest of unpack:\n"
     "  removed I \"NAME\"                   an entry of OLD that NEW lacks\n"
     "  added J \"NAME\"                     an entry of NEW that OLD lacks\n"
     "  moved I -> J \"NAME\"                out of the order of the entries around it\n"
     "  renamed I -> J \"OLD NAME\" -> \"NEW NAME\"\n"
     "  screen changed I -> J \"NAME\"\n"
     "  record changed I -> J \"NAME\" HHHHHHHH -> HHHHHHHH   bytes 60-63 of the name record\n"
     "Entries are paired by name, then by a screen that no other entry has. Prints nothing for\n"
     "archives that hold the same entries in the same order, whatever else differs in the files.\n"
     "An empty file (/dev/null) counts as an archive without entries. Exit status: 0 no\n"
     "difference, 1 differences, 2 trouble (an archive that cannot be read, wrong usage).\n",
     0, command_diff},
    {"new", "ARCHIVE", "write an empty archive",
     "Writes an archive without entries. An existing file is replaced only with --force.\n",
     kTakesForce, command_new},
    {"add", "ARCHIVE NAME [IMAGE]", "add an entry at the end",
     "Adds an entry at the end with a blank screen, or with IMAGE's screen (120 x 112 pixels, at\n"
     "most 63 colours). No two entries may have the same name hash.\n",
     0, command_add},
    {"insert", "ARCHIVE INDEX NAME [IMAGE]", "insert an entry at INDEX",
     "Inserts an entry at INDEX (0 to the entry count) with a blank screen, or with IMAGE's\n"
     "screen. The entries from INDEX on move up by one.\n",
     0, command_insert},
    {"rename", "ARCHIVE INDEX NAME", "rename an entry",
     "Gives the entry at INDEX a new name; its screen stays.\n", 0, command_rename},
    {"delete", "ARCHIVE INDEX", "delete an entry", "Deletes the entry at INDEX.\n", 0,
     command_delete},
    {"move", "ARCHIVE FROM TO", "move an entry",
     "Moves the entry at FROM so that its index is TO afterwards; the entries between shift by "
     "one.\n",
     0, command_move},
    {"export", "ARCHIVE INDEX PNG", "write an entry's screen as a PNG picture",
     "Writes the screen of the entry at INDEX as a 120 x 112 PNG picture, replacing PNG. The\n"
     "picture has 8-bit colour numbers and the screen's own palette of 64 colours in its order,\n"
     "so that a palette editor shows the game's colour numbers; --rgb writes 24-bit RGB instead.\n",
     kTakesRgb, command_export},
    {"import", "ARCHIVE INDEX IMAGE", "replace an entry's screen with a picture",
     "Replaces the screen of the entry at INDEX with IMAGE, which must be 120 pixels wide and 112\n"
     "high and hold at most 63 colours (PNG, BMP, GIF, JPEG and more; palette or RGB). A picture\n"
     "that cannot be read is refused with the reason, as in \"Can't open (Not a picture)\".\n",
     0, command_import},
    {"unpack", "ARCHIVE DIR", "write every screen as a PNG picture, with a manifest",
     "Writes one PNG picture per entry into DIR (0000.png, 0001.png, ...) and the manifest\n"
     "manifest.txt, which lists the entries in order with their names. Screen blocks that a "
     "picture\n"
     "cannot rebuild byte for byte are kept beside it (0000.block, ...). DIR is made when "
     "missing;\n"
     "an existing DIR must be empty unless --force is given. The pictures are palette PNG files\n"
     "as export writes them, or 24-bit RGB with --rgb. They are made on --jobs N threads at once\n"
     "(one per core when not given); the files are the same whatever N.\n",
     kTakesForce | kTakesRgb | kTakesJobs, command_unpack},
    {"pack", "DIR ARCHIVE", "rebuild an archive from an unpacked DIR",
     "Builds ARCHIVE from DIR's manifest.txt and pictures, replacing ARCHIVE. A changed picture "
     "is\n"
     "imported; edit the manifest to rename, reorder, add or remove entries. Two entries may "
     "share\n"
     "a name hash only as often as in the unpacked archive.\n"
     "An untouched unpack gives back every entry as it was: name record and screen block byte for\n"
     "byte, their checksums aside. The whole file comes back byte for byte when it was in the\n"
     "standard layout, as tvk and the editor write it; otherwise pack writes that layout: record\n"
     "checksums recomputed, the name and block areas where the entry count puts them, the header\n"
     "and its tail rewritten, nothing after the last block, and the records that a short file\n"
     "lacked written in full. Pictures may be palette or RGB files. They are read on --jobs N\n"
     "threads at once (one per core when not given); the first problem in manifest order is\n"
     "reported, and ARCHIVE is then left as it was.\n",
     kTakesJobs, command_pack},
    {"sheet", "ARCHIVE PNG", "every screen in one PNG picture",
     "Writes every entry's screen into one PNG picture, in index order, 8 to a row: a palette\n"
     "PNG when the sheet has at most 256 colours, else 24-bit RGB (always with --rgb). The\n"
     "screens are drawn on --jobs N threads at once (one per core when not given).\n",
     kTakesRgb | kTakesJobs, command_sheet},
}};

constexpr std::string_view kIntroduction =
    "Usage: tvk COMMAND ARGUMENTS...\n"
    "Edits a screen archive (TVK.DAT) from the command line.\n";
constexpr std::string_view kClosing =
    "Options:\n"
    "  --help     this help; after a command, that command's help\n"
    "  --version  the version\n"
    "  --force    for new and unpack: replace or write into what exists\n"
    "  --rgb      for export, unpack and sheet: 24-bit RGB pictures instead of palette ones\n"
    "  --jobs N   for unpack, pack and sheet: work on N threads (default: one per core)\n"
    "  --         ends the options, so that a NAME may begin with -\n"
    "\n"
    "INDEX counts entries from 0. NAME is UTF-8 text of at most 56 characters up to U+00FF,\n"
    "without control characters. Exit status: 0 done, 1 error, 2 wrong usage (diff: 0 equal,\n"
    "1 different, 2 trouble).\n";

// The command with its operands, as the usage lines show it.
std::string synopsis(const CommandSpec& command) {
    std::string text = std::string(command.name) + " " + std::string(command.operands);
    if (command.options & kTakesForce) {
        text += " [--force]";
    }
    if (command.options & kTakesRgb) {
        text += " [--rgb]";
    }
    if (command.options & kTakesJobs) {
        text += " [--jobs N]";
    }
    return text;
}

void print_usage(std::ostream& stream) {
    constexpr std::size_t kSummaryColumn = 36;
    stream << kIntroduction << "\nCommands:\n";
    for (const CommandSpec& command : kCommands) {
        // The options are in each command's own usage line.
        std::string left = std::string(command.name) + " " + std::string(command.operands);
        if (command.options != 0) {
            left += " [options]";
        }
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

// The message, then the usage line of the command (or of tvk) and where to read more.
int usage_error(CliContext& context, std::string_view message, const CommandSpec* command) {
    context.err << "tvk: " << message << '\n';
    if (command) {
        context.err << usage_line(*command) << "Try 'tvk " << command->name
                    << " --help' for more.\n";
    } else {
        context.err << "Usage: tvk COMMAND ARGUMENTS...\nTry 'tvk --help' for the commands.\n";
    }
    return kExitUsage;
}

char lower_ascii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The number of single-character insertions, deletions, replacements and swaps of neighbours
// that turn `a` into `b`, letter case aside: a mistyped word is a step or two from the word meant.
std::size_t typing_distance(std::string_view a, std::string_view b) {
    // d[i][j]: the distance between the first i characters of a and the first j of b.
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i) {
        for (std::size_t j = 0; j <= b.size(); ++j) {
            if (i == 0 || j == 0) {
                d[i][j] = i + j;
                continue;
            }
            const bool same = lower_ascii(a[i - 1]) == lower_ascii(b[j - 1]);
            d[i][j] =
                std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (same ? 0 : 1)});
            if (i > 1 && j > 1 && lower_ascii(a[i - 1]) == lower_ascii(b[j - 2]) &&
                lower_ascii(a[i - 2]) == lower_ascii(b[j - 1])) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[a.size()][b.size()];
}

// The command that `word` most likely meant: the nearest by typing distance, when at most two
// steps away and nearer than the word's own length (so that "ls" does not suggest "list").
const CommandSpec* nearest_command(std::string_view word) {
    constexpr std::size_t kMostSteps = 2;
    const CommandSpec* nearest = nullptr;
    std::size_t best = std::min(kMostSteps + 1, word.size());
    for (const CommandSpec& command : kCommands) {
        if (word.size() > command.name.size() + kMostSteps) {
            continue;  // the difference in length alone takes more steps
        }
        const std::size_t distance = typing_distance(word, command.name);
        if (distance < best) {
            best = distance;
            nearest = &command;
        }
    }
    return nearest;
}

int unknown_command(CliContext& context, const std::string& word) {
    std::string message = "unknown command '" + word + "'";
    if (const CommandSpec* nearest = nearest_command(word)) {
        message += "; did you mean '" + std::string(nearest->name) + "'?";
    }
    return usage_error(context, message, nullptr);
}

const CommandSpec* find_command(std::string_view name) {
    for (const CommandSpec& command : kCommands) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

// An argument that begins with '-' is an option, except "-" alone and a negative number, which are
// operands (a NAME, or an index that is refused as such).
bool is_option(std::string_view argument) {
    return argument.size() > 1 && argument[0] == '-' && (argument[1] < '0' || argument[1] > '9');
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
        if (is_option(first)) {
            return usage_error(context, "unknown option '" + first + "'", nullptr);
        }
        return unknown_command(context, first);
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
        } else if (argument == "--force" && (command->options & kTakesForce)) {
            call.force = true;
        } else if (argument == "--rgb" && (command->options & kTakesRgb)) {
            call.rgb = true;
        } else if ((argument == "--jobs" || argument.starts_with("--jobs=")) &&
                   (command->options & kTakesJobs)) {
            const bool joined = argument != "--jobs";
            if (!joined && i + 1 == arguments.size()) {
                return usage_error(context, "--jobs needs a number of threads", command);
            }
            const std::string value = joined ? argument.substr(7) : arguments[++i];
            if (!is_index_text(value) || index_value(value) == 0 ||
                index_value(value) > kMostJobs) {
                return usage_error(context,
                                   "'" + value + "' is not a number of threads (1 to " +
                                       std::to_string(kMostJobs) + ")",
                                   command);
            }
            call.jobs = static_cast<unsigned>(index_value(value));
        } else {
            return usage_error(context, "unknown option '" + argument + "'", command);
        }
    }
    if (const int status = check_operands(context, *command, call); status != kExitOk) {
        return status;
    }
    const std::unique_ptr<FolderLock> lock = lock_changed_archive(command->name, call.operands);
    return command->run(call, context);
}

int trouble_status(const std::vector<std::string>& arguments) {
    return !arguments.empty() && arguments.front() == "diff" ? kExitUsage : kExitError;
}

}  // namespace tvk
