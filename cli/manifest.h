#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "name_text.h"

// The text file that `unpack` writes beside the pictures and `pack` reads back: the entries in
// archive order, one line each, so that a diff shows renames, moves, additions and removals.
namespace tvk {

inline constexpr std::string_view kManifestFileName = "manifest.txt";

struct ManifestEntry {
    std::string picture;  // picture file, relative to the folder
    std::string block;    // stored screen block file; empty when the picture alone rebuilds it
    NameRecord record;    // the name record: name field and bytes 60..63 (bytes 0..3 unused)
    int line = 0;         // where the entry was read from, for messages
};

std::string format_manifest(const std::vector<ManifestEntry>& entries);

struct ParsedManifest {
    std::vector<ManifestEntry> entries;
    // For each name hash that several entries of the unpacked archive shared, how many did.
    std::map<std::uint32_t, std::size_t> shared_hashes;
    std::string error;  // empty on success
    int error_line = 0;
};
ParsedManifest parse_manifest(std::string_view text);

}  // namespace tvk
