#pragma once

#include <string_view>

// The texts the editor shows the user, word for word.
namespace tvk {

inline constexpr std::string_view kMessageTitle = "Error";
inline constexpr std::string_view kCantOpen = "Can't open";
inline constexpr std::string_view kNotAnArchive = "It's not TVK.DAT";
inline constexpr std::string_view kHashCollision = "This name make hash collision";
inline constexpr std::string_view kBadWidth = "Image width must be 120";
inline constexpr std::string_view kBadHeight = "Image height must be 112";
inline constexpr std::string_view kTooManyColoursMessage = "Image consists more than 63 colors!";
inline constexpr std::string_view kCantSave = "Can't save";
inline constexpr std::string_view kTooManyEntries = "Too many entries";

inline constexpr std::string_view kDefaultArchiveName = "TVK.DAT";

}  // namespace tvk
