#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "cli_context.h"
#include "entry_store.h"

// Small pieces that every command shares: error reports, paths from arguments, indexes, loading
// and saving the archive named on the command line.
namespace tvk {

// Writes "tvk: MESSAGE" to standard error and gives the error exit status.
int report_error(CliContext& context, std::string_view message);
// The same for a message about one file: "tvk: FILE: MESSAGE".
int report_file_error(CliContext& context, std::string_view file, std::string_view message);
// The same with the system's reason: "tvk: FILE: MESSAGE (REASON)".
int report_file_error(CliContext& context, std::string_view file, std::string_view message,
                      const std::error_code& reason);

// Command-line text is UTF-8 on every platform; the path takes it as such.
std::filesystem::path path_from_utf8(std::string_view utf8);
std::string utf8_from_path(const std::filesystem::path& path);

// True for a non-empty string of decimal digits.
bool is_index_text(std::string_view text);
// The value of a string of decimal digits; a value too large for any archive saturates.
std::uint64_t index_value(std::string_view digits);

// The index given as `text` when it is below `limit`; otherwise reports the valid range.
std::optional<std::size_t> checked_index(CliContext& context, std::string_view text,
                                         std::size_t limit);

// Loads the archive named `archive`, reporting "Can't open" with the reason or "It's not TVK.DAT".
bool load_archive_argument(CliContext& context, std::string_view archive, EntryStore& store);
// Loads `archive` and checks that `index` names one of its entries; nullopt, reported, otherwise.
std::optional<std::size_t> load_archive_entry(CliContext& context, std::string_view archive,
                                              std::string_view index, EntryStore& store);
// Saves the store over `archive` atomically; the exit status, with the failure and its reason
// reported.
int save_archive_argument(CliContext& context, std::string_view archive, EntryStore& store);
// The exit status of a save of `archive` that ended with `error`, which is reported.
int report_archive_save(CliContext& context, std::string_view archive,
                        const std::error_code& error);

// Writes `bytes` to `path` atomically; the reason when the file could not be written.
std::error_code write_file_bytes(const CliContext& context, const std::filesystem::path& path,
                                 std::string_view bytes);

// Spaces and tabs, which separate the words of the text files that unpack writes.
inline constexpr std::string_view kBlanks = " \t";
// Cuts the next line off the front of `text`, without its LF or CR LF ending.
std::string_view take_line(std::string_view& text);
// `text` without leading and trailing blanks.
std::string_view trim_blanks(std::string_view text);

// The value of one hex digit (either case), -1 for any other character.
int hex_digit_value(char c);
// 0x-less lowercase hexadecimal, `digits` wide.
std::string hex_text(std::uint64_t value, int digits);
// Reads exactly `count` bytes written as 2 * count hex digits (either case); false otherwise.
bool parse_hex_bytes(std::string_view text, std::uint8_t* bytes, std::size_t count);

}  // namespace tvk
