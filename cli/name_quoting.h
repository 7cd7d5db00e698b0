#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "name_text.h"

namespace tvk {

// C0 and C1 control characters and DEL: invisible or disruptive in a line of text.
bool is_control_byte(std::uint8_t byte);

// Stored name bytes as one line of UTF-8 text: each byte the character of the same value, except
// that control characters and the backslash are written as \xHH and \\.
std::string escape_name(std::string_view latin1);

// A name record's name field (bytes 4..59) as a quoted, escaped line of UTF-8 text: each byte is
// escaped as by escape_name, and the quote written as \". Trailing zero bytes are left out; a zero
// byte before other bytes is written as \x00, so a field holding bytes after its terminator
// survives the round trip.
std::string quote_name_field(const std::uint8_t* field);

// The reverse of quote_name_field, starting at the opening quote of `text`. On success `record`
// holds the name field, data size 10344 and the name's hash; `rest` is what follows the closing
// quote. Otherwise `error` says what is wrong.
struct UnquotedName {
    NameRecord record;
    std::string_view rest;
    std::string error;
};
UnquotedName unquote_name_field(std::string_view text);

}  // namespace tvk
