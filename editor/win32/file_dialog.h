#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>

#include "editor_view.h"
#include "win32_services.h"

namespace tvk {

// Room for the chosen path and its terminating NUL; a longer path counts as no choice.
inline constexpr DWORD kFileNameCapacity = 300;

// Runs the common open or save dialog that the choice calls for, owned by `owner`. nullopt when
// the user cancelled or the dialog failed.
std::optional<std::filesystem::path> run_file_dialog(const Win32Services& services, HWND owner,
                                                     FileChoice choice);

}  // namespace tvk
