#include "file_dialog.h"

#include <algorithm>
#include <array>
#include <string>

#include "file_choosers.h"

namespace tvk {
namespace {

// The structure's full size is what a 32-bit program passes as well.
static_assert(sizeof(void*) != 4 || sizeof(OPENFILENAMEW) == 88);

// Description and pattern pairs, each NUL-terminated; the string's own terminator closes the list
// with an empty string.
std::wstring filter_list(const ChooserSetup& setup) {
    std::wstring list;
    for (std::size_t i = 0; i < setup.filter_count; ++i) {
        for (const std::string_view part :
             {setup.filters[i].description, setup.filters[i].pattern}) {
            list.append(part.begin(), part.end());
            list.push_back(L'\0');
        }
    }
    return list;
}

}  // namespace

std::optional<std::filesystem::path> run_file_dialog(const Win32Services& services, HWND owner,
                                                     FileChoice choice) {
    const ChooserSetup& setup = chooser_setup(choice);
    std::array<wchar_t, kFileNameCapacity> name{};
    std::copy(setup.proposed.begin(), setup.proposed.end(), name.begin());
    const std::wstring filters = filter_list(setup);
    // Every field left out stays zero: the system's title, folder and no default extension.
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = kFileNameCapacity;
    // No overwrite question when saving.
    dialog.Flags = setup.save ? 0 : OFN_FILEMUSTEXIST;

    const BOOL chosen =
        setup.save ? services.get_save_file_name(&dialog) : services.get_open_file_name(&dialog);
    if (!chosen) {
        return std::nullopt;
    }
    // A dialog that overran the buffer would have failed; keep the last unit a terminator anyway.
    name.back() = L'\0';
    return std::filesystem::path(name.data());
}

}  // namespace tvk
