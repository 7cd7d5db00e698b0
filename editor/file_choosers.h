#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "editor_view.h"
#include "messages.h"

namespace tvk {

// One line of a file chooser's type list.
struct FileFilter {
    std::string_view description;
    std::string_view pattern;
};

inline constexpr FileFilter kAllFilter{"All", "*"};
inline constexpr FileFilter kPngFilter{"PNG", "*.png"};

// How each file chooser is set up. Save choosers take any name and never ask before replacing a
// file; open choosers take only a file that exists. The first filter is the one selected.
struct ChooserSetup {
    FileChoice choice;
    bool save;
    std::array<FileFilter, 2> filters;
    std::size_t filter_count;
    std::string_view proposed;  // the file name proposed; empty for none
};

inline constexpr std::array<ChooserSetup, 4> kChoosers = {{
    {FileChoice::open_archive, false, {kAllFilter, {}}, 1, kDefaultArchiveName},
    {FileChoice::save_archive, true, {kAllFilter, {}}, 1, kDefaultArchiveName},
    {FileChoice::open_image, false, {kAllFilter, {}}, 1, ""},
    {FileChoice::save_png, true, {kPngFilter, kAllFilter}, 2, ""},
}};

const ChooserSetup& chooser_setup(FileChoice choice);

}  // namespace tvk
