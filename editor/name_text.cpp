#include "name_text.h"

#include "record.h"

namespace tvk {
namespace {

inline constexpr std::uint16_t kBuiltDataSize = static_cast<std::uint16_t>(kUsedBlockSize);

NameRecord record_from_bytes(const std::u16string& latin1) {
    NameRecord record;
    for (std::size_t i = 0; i < latin1.size() && i < kNameLength; ++i) {
        record.bytes[kNameOffset + i] = static_cast<std::uint8_t>(latin1[i]);
    }
    write_u16(record.bytes.data() + kDataSizeOffset, kBuiltDataSize);
    record.hash = record_checksum(record.bytes.data(), kRecordChecksumEnd);
    return record;
}

// Decodes one UTF-8 sequence at `at`; nullopt when it is malformed.
std::optional<char32_t> next_code_point(std::string_view utf8, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(utf8[at++]);
    if (lead < 0x80) {
        return lead;
    }
    int continuation = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        continuation = 1, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        continuation = 2, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        continuation = 3, value = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    for (int i = 0; i < continuation; ++i) {
        if (at >= utf8.size() || (static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = value << 6 | (static_cast<unsigned char>(utf8[at++]) & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

NameRecord build_name_record(std::u16string_view text) {
    std::u16string latin1;
    for (char16_t c : text) {
        // Window text ends at a NUL, and nothing after the name may reach the record's hash.
        if (c == 0 || c > 0xFF) {
            break;
        }
        latin1 += c;
    }
    return record_from_bytes(latin1);
}

ParsedName parse_utf8_name(std::string_view utf8) {
    std::u16string latin1;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> c = next_code_point(utf8, at);
        if (!c) {
            return {std::nullopt, "The name is not valid UTF-8"};
        }
        if (*c == 0 || *c > 0xFF) {
            return {std::nullopt, "The name may hold only the characters U+0001 to U+00FF"};
        }
        latin1 += static_cast<char16_t>(*c);
    }
    if (latin1.size() > kNameLength) {
        return {std::nullopt, "The name is longer than 56 characters"};
    }
    return {record_from_bytes(latin1), {}};
}

std::u16string widen_name(const char* name) {
    std::u16string text;
    for (const char* c = name; *c != 0 && text.size() < kNameLength; ++c) {
        text += static_cast<char16_t>(static_cast<unsigned char>(*c));
    }
    return text;
}

std::string name_to_utf8(const char* name) {
    std::string utf8;
    for (char16_t c : widen_name(name)) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else {
            utf8 += static_cast<char>(0xC0 | c >> 6);
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

}  // namespace tvk
