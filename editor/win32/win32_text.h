#pragma once

#include <string>
#include <string_view>

namespace tvk {

// wchar_t is a 16-bit UTF-16 unit on Windows, like char16_t, so text passes unit for unit.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::wstring to_wide(std::u16string_view text) {
    return {text.begin(), text.end()};
}

inline std::u16string from_wide(std::wstring_view text) {
    return {text.begin(), text.end()};
}

// The editor's own texts (messages, captions, link targets) are ASCII.
inline std::wstring to_wide(std::string_view ascii) {
    return {ascii.begin(), ascii.end()};
}

}  // namespace tvk
