#include "name_quoting.h"

#include <algorithm>
#include <vector>

#include "cli_support.h"
#include "record.h"

namespace tvk {
namespace {

void append_latin1_as_utf8(std::string& text, unsigned code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else {
        text += static_cast<char>(0xC0 | code >> 6);
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Appends the name bytes as UTF-8, escaping control characters, the backslash and `quote` (a
// character that must not appear bare, or 0 for none).
void append_escaped(std::string& text, std::string_view bytes, char quote) {
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (c == '\\' || (quote != 0 && c == quote)) {
            text += '\\';
            text += c;
        } else if (is_control_byte(byte)) {
            text += "\\x" + hex_text(byte, 2);
        } else {
            append_latin1_as_utf8(text, byte);
        }
    }
}

}  // namespace

bool is_control_byte(std::uint8_t byte) {
    return byte < 0x20 || (byte >= 0x7F && byte <= 0x9F);
}

std::string escape_name(std::string_view latin1) {
    std::string text;
    append_escaped(text, latin1, 0);
    return text;
}

std::string quote_name_field(const std::uint8_t* field) {
    std::size_t length = kNameLength;
    while (length > 0 && field[length - 1] == 0) {
        --length;
    }
    std::string text = "\"";
    append_escaped(text, {reinterpret_cast<const char*>(field), length}, '"');
    return text + "\"";
}

UnquotedName unquote_name_field(std::string_view text) {
    UnquotedName result;
    if (text.empty() || text.front() != '"') {
        result.error = "the name must be in double quotes";
        return result;
    }
    // The text between the quotes, cut at every escaped zero byte: each piece is an ordinary name
    // (checked by the same rules as a name on the command line), the zero bytes join them.
    std::vector<std::string> pieces(1);
    std::size_t at = 1;
    for (;; ++at) {
        if (at >= text.size()) {
            result.error = "the name has no closing quote";
            return result;
        }
        const char c = text[at];
        if (c == '"') {
            break;
        }
        if (c != '\\') {
            pieces.back() += c;
            continue;
        }
        const char escaped = at + 1 < text.size() ? text[at + 1] : '\0';
        if (escaped == '"' || escaped == '\\') {
            pieces.back() += escaped;
            ++at;
            continue;
        }
        std::uint8_t code = 0;
        if (escaped != 'x' || !parse_hex_bytes(text.substr(at + 2, 2), &code, 1)) {
            result.error = "the name holds an unknown escape; use \\\\, \\\" or \\xHH";
            return result;
        }
        if (code == 0) {
            pieces.emplace_back();
        } else {
            append_latin1_as_utf8(pieces.back(), code);
        }
        at += 3;
    }
    result.rest = text.substr(at + 1);

    std::size_t length = 0;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const ParsedName parsed = parse_utf8_name(pieces[k]);
        if (!parsed.record) {
            result.error = parsed.error;
            return result;
        }
        const std::uint8_t* bytes = parsed.record->bytes.data() + kNameOffset;
        std::size_t piece_length = 0;
        while (piece_length < kNameLength && bytes[piece_length] != 0) {
            ++piece_length;
        }
        if (k > 0) {
            ++length;  // the zero byte that joins this piece to the one before
        }
        if (length + piece_length > kNameLength) {
            result.error = "The name is longer than 56 characters";
            return result;
        }
        if (k == 0) {
            result.record = *parsed.record;
        } else {
            std::copy_n(bytes, piece_length, result.record.bytes.begin() + kNameOffset + length);
        }
        length += piece_length;
    }
    result.record.hash = record_checksum(result.record.bytes.data(), kRecordChecksumEnd);
    return result;
}

}  // namespace tvk
