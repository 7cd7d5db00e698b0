#include "manifest.h"

#include <algorithm>
#include <map>

#include "cli_support.h"
#include "name_quoting.h"
#include "record.h"

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
constexpr std::string_view kSharedHash = "shared-hash";
constexpr std::string_view kSharedHashExplanation =
    "# Entries of the unpacked archive that share a name hash: pack takes as many entries with\n"
    "# that hash again, and refuses a new or renamed entry that would make one more.\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
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

// One entry line; the error is empty on success. The name is the first word that begins with a
// quote; the three words before it are the files and the record bytes.
std::string parse_entry(std::string_view line, ManifestEntry& entry) {
    std::vector<std::string_view> words;
    std::string_view rest = line;
    for (std::string_view word = next_word(rest); !word.empty() && word.front() != '"';
         word = next_word(rest)) {
        words.push_back(word);
        line = rest;
    }
    line = trim_blanks(line);
    if (words.size() > 3 && !line.empty()) {
        return "a file name may not hold blanks (spaces or tabs); rename the file";
    }
    if (words.empty() || words.front() == kNoFile) {
        return "the entry has no picture file";
    }
    if (words.size() != 3 || line.empty()) {
        return "an entry needs a picture, the record bytes 60-63, a block (or -) and a name";
    }
    UnquotedName name = unquote_name_field(line);
    if (!name.error.empty()) {
        return name.error;
    }
    if (!trim_blanks(name.rest).empty()) {
        return "nothing may follow the name's closing quote";
    }
    entry.record = name.record;
    if (words[1] != kNoFile) {
        if (!parse_hex_bytes(words[1], entry.record.bytes.data() + kDataSizeOffset,
                             kRecordTailLength)) {
            return "the record bytes 60-63 must be 8 hex digits or -";
        }
    }
    entry.picture = std::string(words[0]);
    entry.block = words[2] == kNoFile ? std::string() : std::string(words[2]);
    return {};
}

// A shared-hash line: the hash and how many entries of the unpacked archive had it.
std::string parse_shared_hash(std::string_view line, ParsedManifest& manifest) {
    next_word(line);
    const std::string_view hash_text = next_word(line);
    const std::string_view count_text = trim_blanks(line);
    std::uint8_t hash_bytes[4] = {};
    if (!parse_hex_bytes(hash_text, hash_bytes, sizeof hash_bytes) || !is_index_text(count_text)) {
        return "a shared-hash line holds a name hash as 8 hex digits and a number of entries";
    }
    std::uint32_t hash = 0;
    for (const std::uint8_t byte : hash_bytes) {
        hash = hash << 8 | byte;
    }
    manifest.shared_hashes[hash] =
        static_cast<std::size_t>(std::min<std::uint64_t>(index_value(count_text), kMaxEntries));
    return {};
}

}  // namespace

std::string format_manifest(const std::vector<ManifestEntry>& entries) {
    std::string text = std::string(kFirstLine) + "\n" + std::string(kExplanation);
    std::map<std::uint32_t, std::size_t> hash_count;
    for (const ManifestEntry& entry : entries) {
        ++hash_count[record_checksum(entry.record.bytes.data(), kRecordChecksumEnd)];
    }
    std::string shared;
    for (const auto& [hash, count] : hash_count) {
        if (count > 1) {
            shared += std::string(kSharedHash) + ' ' + hex_text(hash, 8) + ' ' +
                      std::to_string(count) + '\n';
        }
    }
    if (!shared.empty()) {
        text += std::string(kSharedHashExplanation) + shared;
    }
    for (const ManifestEntry& entry : entries) {
        text += entry.picture + '\t' + record_tail_text(entry.record) + '\t' +
                (entry.block.empty() ? std::string(kNoFile) : entry.block) + '\t' +
                quote_name_field(entry.record.bytes.data() + kNameOffset) + '\n';
    }
    return text;
}

ParsedManifest parse_manifest(std::string_view text) {
    ParsedManifest manifest;
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());  // put there by some Windows editors
    }
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
        std::string error;
        if (line.starts_with(kSharedHash) &&
            (line.size() == kSharedHash.size() ||
             kBlanks.find(line[kSharedHash.size()]) != std::string_view::npos)) {
            error = parse_shared_hash(line, manifest);
            if (error.empty()) {
                continue;
            }
        } else {
            error = parse_entry(line, entry);
        }
        if (!error.empty()) {
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
