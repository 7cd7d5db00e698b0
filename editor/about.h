#pragma once

#include <string_view>

// The credit line and the two links of the main window, kept in one place for every front end.
namespace tvk {

inline constexpr std::string_view kCreditLine = "Free screen archive editor";
inline constexpr std::string_view kMailLinkText = "Write to us";
inline constexpr std::string_view kMailLinkTarget = "mailto:tvk-edit@users.invalid";
inline constexpr std::string_view kWebLinkText = "Home page";
inline constexpr std::string_view kWebLinkTarget = "https://tvk-edit.invalid/";

}  // namespace tvk
