#include "file_dialog.h"

#include <algorithm>
#include <array>

#include "messages.h"
#include "win32_services.h"

namespace tvk {
namespace {

// Description and pattern pairs; the literal's own terminator closes the list with an empty string.
constexpr wchar_t kAllFilter[] = L"All\0*\0";
constexpr wchar_t kPngThenAllFilter[] = L"PNG\0*.png\0All\0*\0";

// The structure's full size is what a 32-bit program passes as well.
static_assert(sizeof(void*) != 4 || sizeof(OPENFILENAMEW) == 88);

bool is_open_dialog(FileChoice choice) {
    return choice == FileChoice::open_archive || choice == FileChoice::open_image;
}

bool proposes_archive_name(FileChoice choice) {
    return choice == FileChoice::open_archive || choice == FileChoice::save_archive;
}

}  // namespace

std::optional<std::filesystem::path> run_file_dialog(HWND owner, FileChoice choice) {
    std::array<wchar_t, kFileNameCapacity> name{};
    if (proposes_archive_name(choice)) {
        std::copy(kDefaultArchiveName.begin(), kDefaultArchiveName.end(), name.begin());
    }
    // Every field left out stays zero: the system's title, folder and no default extension.
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = choice == FileChoice::save_png ? kPngThenAllFilter : kAllFilter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = kFileNameCapacity;
    // No overwrite question when saving.
    dialog.Flags = is_open_dialog(choice) ? OFN_FILEMUSTEXIST : 0;

    const Win32Services& services = win32_services();
    const BOOL chosen = is_open_dialog(choice) ? services.get_open_file_name(&dialog)
                                               : services.get_save_file_name(&dialog);
    if (!chosen) {
        return std::nullopt;
    }
    // A dialog that overran the buffer would have failed; keep the last unit a terminator anyway.
    name.back() = L'\0';
    return std::filesystem::path(name.data());
}

}  // namespace tvk
