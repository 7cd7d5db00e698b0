#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "archive_format.h"

namespace tvk {

// A name record built from text, ready to be copied into an entry, with its name hash.
struct NameRecord {
    std::array<std::uint8_t, kRecordLength> bytes{};
    std::uint32_t hash = 0;
};

// Builds a name record from window text: each character up to U+00FF becomes the byte of the same
// value, the first character above U+00FF, a NUL or the 57th character ends the name. The data
// size is 10344 and every byte after the name is zero.
NameRecord build_name_record(std::u16string_view text);

// A name given as UTF-8 (on a command line): refused with a message, rather than cut, when it is
// not valid UTF-8, holds a character above U+00FF or a NUL, or is longer than 56 characters.
struct ParsedName {
    std::optional<NameRecord> record;
    std::string error;
};
ParsedName parse_utf8_name(std::string_view utf8);

// Stored name bytes (NUL-terminated, at most 56) widened to text, each byte the character of the
// same value.
std::u16string widen_name(const char* name);
// The same name as UTF-8.
std::string name_to_utf8(const char* name);

}  // namespace tvk
