#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tvk::test {

// A name or ordinal field of a dialog template: a string, an ordinal (0xFFFF then a number), or
// nothing.
struct NameOrOrdinal {
    std::wstring name;
    std::optional<std::uint16_t> ordinal;

    bool empty() const { return name.empty() && !ordinal; }
};

struct ItemTemplate {
    DWORD help_id;
    DWORD ex_style;
    DWORD style;
    short x, y, width, height;
    std::int32_t id;
    NameOrOrdinal window_class;
    NameOrOrdinal text;
    WORD extra_bytes;
};

// An extended dialog template (DLGTEMPLATEEX) as the resource compiler stored it.
struct DialogTemplate {
    WORD version;
    WORD signature;
    DWORD help_id;
    DWORD ex_style;
    DWORD style;
    short x, y, width, height;
    NameOrOrdinal menu;
    NameOrOrdinal window_class;
    std::wstring title;
    WORD point_size;
    WORD weight;
    BYTE italic;
    BYTE charset;
    std::wstring typeface;
    std::vector<ItemTemplate> items;
};

// Reads a DLGTEMPLATEEX; nullopt when the bytes are not one or end too early.
std::optional<DialogTemplate> parse_dialog_template(const std::uint8_t* data, std::size_t size);

// A copy of DLGTEMPLATEEX bytes whose font is the given face, size and weight; empty when the
// bytes end too early.
std::vector<std::uint8_t> with_dialog_font(const std::vector<std::uint8_t>& bytes,
                                           const std::wstring& typeface, WORD point_size,
                                           WORD weight);

// The bytes of a resource of this program; empty when there is none.
std::vector<std::uint8_t> resource_bytes(LPCWSTR type, LPCWSTR name);

}  // namespace tvk::test
