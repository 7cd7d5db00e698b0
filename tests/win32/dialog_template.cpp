#include "dialog_template.h"

#include <cstring>

namespace tvk::test {
namespace {

constexpr WORD kExtendedSignature = 0xFFFF;
constexpr WORD kOrdinalMark = 0xFFFF;

// Reads little-endian fields front to back; any read past the end marks the reader as failed.
class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    template <typename T>
    T read() {
        T value{};
        if (m_offset + sizeof(T) > m_size) {
            m_failed = true;
            return value;
        }
        std::memcpy(&value, m_data + m_offset, sizeof(T));
        m_offset += sizeof(T);
        return value;
    }

    std::wstring read_string() {
        std::wstring text;
        for (wchar_t c = read<wchar_t>(); c != L'\0' && !m_failed; c = read<wchar_t>()) {
            text.push_back(c);
        }
        return text;
    }

    NameOrOrdinal read_name_or_ordinal() {
        const WORD first = read<WORD>();
        if (first == 0) {
            return {};
        }
        if (first == kOrdinalMark) {
            return {{}, read<WORD>()};
        }
        std::wstring name(1, static_cast<wchar_t>(first));
        name += read_string();
        return {name, std::nullopt};
    }

    void align_to_dword() { m_offset = (m_offset + 3) & ~std::size_t{3}; }
    void skip(std::size_t bytes) { m_offset += bytes; }
    bool failed() const { return m_failed || m_offset > m_size; }
    std::size_t offset() const { return m_offset; }

  private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_offset = 0;
    bool m_failed = false;
};

}  // namespace

std::optional<DialogTemplate> parse_dialog_template(const std::uint8_t* data, std::size_t size) {
    Reader in(data, size);
    DialogTemplate dialog{};
    dialog.version = in.read<WORD>();
    dialog.signature = in.read<WORD>();
    if (dialog.signature != kExtendedSignature) {
        return std::nullopt;
    }
    dialog.help_id = in.read<DWORD>();
    dialog.ex_style = in.read<DWORD>();
    dialog.style = in.read<DWORD>();
    const WORD item_count = in.read<WORD>();
    dialog.x = in.read<short>();
    dialog.y = in.read<short>();
    dialog.width = in.read<short>();
    dialog.height = in.read<short>();
    dialog.menu = in.read_name_or_ordinal();
    dialog.window_class = in.read_name_or_ordinal();
    dialog.title = in.read_string();
    if ((dialog.style & DS_SETFONT) != 0) {
        dialog.point_size = in.read<WORD>();
        dialog.weight = in.read<WORD>();
        dialog.italic = in.read<BYTE>();
        dialog.charset = in.read<BYTE>();
        dialog.typeface = in.read_string();
    }
    for (WORD i = 0; i < item_count && !in.failed(); ++i) {
        in.align_to_dword();
        ItemTemplate item{};
        item.help_id = in.read<DWORD>();
        item.ex_style = in.read<DWORD>();
        item.style = in.read<DWORD>();
        item.x = in.read<short>();
        item.y = in.read<short>();
        item.width = in.read<short>();
        item.height = in.read<short>();
        item.id = in.read<std::int32_t>();
        item.window_class = in.read_name_or_ordinal();
        item.text = in.read_name_or_ordinal();
        item.extra_bytes = in.read<WORD>();
        in.skip(item.extra_bytes);
        dialog.items.push_back(item);
    }
    if (in.failed()) {
        return std::nullopt;
    }
    return dialog;
}

std::vector<std::uint8_t> with_dialog_font(const std::vector<std::uint8_t>& bytes,
                                           const std::wstring& typeface, WORD point_size,
                                           WORD weight) {
    Reader in(bytes.data(), bytes.size());
    // The fixed fields up to the size, then the menu, the class and the title.
    in.skip(2 * sizeof(WORD) + 3 * sizeof(DWORD) + sizeof(WORD) + 4 * sizeof(short));
    in.read_name_or_ordinal();
    in.read_name_or_ordinal();
    in.read_string();
    const std::size_t font_at = in.offset();
    in.skip(sizeof(WORD));
    in.skip(sizeof(WORD));
    const std::size_t italic_at = in.offset();
    in.skip(2 * sizeof(BYTE));
    const std::size_t face_at = in.offset();
    in.read_string();
    in.align_to_dword();
    if (in.failed()) {
        return {};
    }
    std::vector<std::uint8_t> changed(bytes.begin(), bytes.begin() + font_at);
    const auto* size_bytes = reinterpret_cast<const std::uint8_t*>(&point_size);
    changed.insert(changed.end(), size_bytes, size_bytes + sizeof(WORD));
    const auto* weight_bytes = reinterpret_cast<const std::uint8_t*>(&weight);
    changed.insert(changed.end(), weight_bytes, weight_bytes + sizeof(WORD));
    changed.insert(changed.end(), bytes.begin() + italic_at, bytes.begin() + face_at);
    const auto* face_bytes = reinterpret_cast<const std::uint8_t*>(typeface.c_str());
    changed.insert(changed.end(), face_bytes, face_bytes + (typeface.size() + 1) * sizeof(wchar_t));
    // The items start on a four-byte boundary, as they did.
    changed.resize((changed.size() + 3) & ~std::size_t{3});
    changed.insert(changed.end(), bytes.begin() + in.offset(), bytes.end());
    return changed;
}

std::vector<std::uint8_t> resource_bytes(LPCWSTR type, LPCWSTR name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name, type);
    if (found == nullptr) {
        return {};
    }
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
    return {bytes, bytes + SizeofResource(module, found)};
}

}  // namespace tvk::test
