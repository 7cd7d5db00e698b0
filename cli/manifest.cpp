#include "manifest.h"

#include <algorithm>

#include "cli_support.h"
#include "name_quoting.h"

namespace tvk {
namespace {

constexpr std::string_view kFirstLine = "tvk-manifest 1";
constexpr std::string_view kNoFirstLine =
    "the manifest must begin with the line \"tvk-manifest 1\"";
constexpr std::string_view kExplanation =
    "# One line per entry, in archive order: the picture; bytes 60-63 of the name record in hex\n"
    "# (- for 68280000, data size 10344); the screen block as stored (- when the picture alone\n"
    "# rebuilds it); the name in double quotes. Edit the lines to rename, reorder, add or remove\n"
    "# entries, then run: tvk pack FOLDER ARCHIVE\n";
constexpr std::string_view kNoFile = "-";
constexpr std::size_t kRecordTailLength = kRecordLength - kDataSizeOffset;  // bytes 60..63

std::string record_tail_text(const NameRecord& record) {
    std::string text;
    for (std::size_t i = kDataSizeOffset; i < kRecordLength; ++i) {
        text += hex_text(record.bytes[i], 2);
    }
    return text;
}

// Cuts the next blank-separated word off the front of `text`.
std::string_view next_word(std::string_view& text) {
    const std::size_t start = std::min(text.find_first_not_of(kBlanks), text.size());
    const std::size_t end = std::min(text.find_first_of(kBlanks, start), text.size());
    const std::string_view word = text.substr(start, end - start);
    text.remove_prefix(end);
    return word;
}

// One entry line; the error is empty on success.
std::string parse_entry(std::string_view line, ManifestEntry& entry) {
    const std::string_view picture = next_word(line);
    const std::string_view tail_text = next_word(line);
    const std::string_view block = next_word(line);
    line = trim_blanks(line);
    if (picture.empty() || tail_text.empty() || block.empty() || line.empty()) {
        return "an entry needs a picture, the record bytes 60-63, a block (or -) and a name";
    }
    if (picture == kNoFile || picture.front() == '"') {
        return "the entry has no picture file";
    }
    UnquotedName name = unquote_name_field(line);
    if (!name.error.empty()) {
        return name.error;
    }
    if (!trim_blanks(name.rest).empty()) {
        return "nothing may follow the name's closing quote";
    }
    entry.record = name.record;
    if (tail_text != kNoFile) {
        if (!parse_hex_bytes(tail_text, entry.record.bytes.data() + kDataSizeOffset,
                             kRecordTailLength)) {
            return "the record bytes 60-63 must be 8 hex digits or -";
        }
    }
    entry.picture = std::string(picture);
    entry.block = block == kNoFile ? std::string() : std::string(block);
    return {};
}

}  // namespace

std::string format_manifest(const std::vector<ManifestEntry>& entries) {
    std::string text = std::string(kFirstLine) + "\n" + std::string(kExplanation);
    for (const ManifestEntry& entry : entries) {
        text += entry.picture + '\t' + record_tail_text(entry.record) + '\t' +
                (entry.block.empty() ? std::string(kNoFile) : entry.block) + '\t' +
                quote_name_field(entry.record.bytes.data() + kNameOffset) + '\n';
    }
    return text;
}

ParsedManifest parse_manifest(std::string_view text) {
    ParsedManifest manifest;
    bool seen_first_line = false;
    int number = 0;
    while (!text.empty()) {
        const std::string_view line = trim_blanks(take_line(text));
        ++number;
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (!seen_first_line) {
            if (line != kFirstLine) {
                manifest.error = kNoFirstLine;
                manifest.error_line = number;
                return manifest;
            }
            seen_first_line = true;
            continue;
        }
        ManifestEntry entry;
        entry.line = number;
        if (std::string error = parse_entry(line, entry); !error.empty()) {
            manifest.entries.clear();
            manifest.error = std::move(error);
            manifest.error_line = number;
            return manifest;
        }
        manifest.entries.push_back(std::move(entry));
    }
    if (!seen_first_line) {
        manifest.error = kNoFirstLine;
        manifest.error_line = number;
    }
    return manifest;
}

}  // namespace tvk
