#include "cli_support.h"

#include <algorithm>
#include <limits>
#include <system_error>

#include "archive_file.h"
#include "messages.h"

namespace tvk {

int report_error(CliContext& context, std::string_view message) {
    context.err << "tvk: " << message << '\n';
    return kExitError;
}

int report_file_error(CliContext& context, std::string_view file, std::string_view message) {
    context.err << "tvk: " << file << ": " << message << '\n';
    return kExitError;
}

int report_file_error(CliContext& context, std::string_view file, std::string_view message,
                      const std::error_code& reason) {
    context.err << "tvk: " << file << ": " << message << " (" << reason_text(reason) << ")\n";
    return kExitError;
}

std::filesystem::path path_from_utf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string utf8_from_path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool is_index_text(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::uint64_t index_value(std::string_view digits) {
    constexpr std::uint64_t kSaturated = std::numeric_limits<std::uint64_t>::max();
    std::uint64_t value = 0;
    for (char c : digits) {
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (kSaturated - digit) / 10) {
            return kSaturated;
        }
        value = value * 10 + digit;
    }
    return value;
}

std::optional<std::size_t> checked_index(CliContext& context, std::string_view text,
                                         std::size_t limit) {
    const std::uint64_t value = index_value(text);
    if (value < limit) {
        return static_cast<std::size_t>(value);
    }
    std::string message = "Index " + std::string(text) + " is out of range";
    if (limit == 0) {
        message += ": the archive has no entries";
    } else {
        message += " 0.." + std::to_string(limit - 1);
    }
    report_error(context, message);
    return std::nullopt;
}

bool load_archive_argument(CliContext& context, std::string_view archive, EntryStore& store) {
    const std::error_code error = open_archive_file(store, path_from_utf8(archive));
    if (error == ArchiveError::not_an_archive) {
        report_file_error(context, archive, kNotAnArchive);
    } else if (error) {
        report_file_error(context, archive, kCantOpen, error);
    }
    return !error;
}

std::optional<std::size_t> load_archive_entry(CliContext& context, std::string_view archive,
                                              std::string_view index, EntryStore& store) {
    if (!load_archive_argument(context, archive, store)) {
        return std::nullopt;
    }
    return checked_index(context, index, store.count());
}

int save_archive_argument(CliContext& context, std::string_view archive, EntryStore& store) {
    return report_archive_save(context, archive,
                               save_archive_file(store, path_from_utf8(archive), context.file_ops));
}

int report_archive_save(CliContext& context, std::string_view archive,
                        const std::error_code& error) {
    if (error == ArchiveError::too_many_entries) {
        return report_file_error(context, archive, kTooManyEntries);
    }
    return error ? report_file_error(context, archive, kCantSave, error) : kExitOk;
}

std::error_code write_file_bytes(const CliContext& context, const std::filesystem::path& path,
                                 std::string_view bytes) {
    return save_file_atomically(
        path,
        [bytes](std::ostream& stream) {
            stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        },
        context.file_ops);
}

std::string_view take_line(std::string_view& text) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);  // written by an editor that ends lines with CR LF
    }
    return line;
}

std::string_view trim_blanks(std::string_view text) {
    const std::size_t start = text.find_first_not_of(kBlanks);
    if (start == text.npos) {
        return {};
    }
    return text.substr(start, text.find_last_not_of(kBlanks) - start + 1);
}

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string hex_text(std::uint64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i) {
        text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
        value >>= 4;
    }
    return text;
}

bool parse_hex_bytes(std::string_view text, std::uint8_t* bytes, std::size_t count) {
    if (text.size() != 2 * count) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const int high = hex_digit_value(text[2 * i]);
        const int low = hex_digit_value(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return true;
}

}  // namespace tvk
