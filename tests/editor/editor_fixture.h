#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor_controller.h"
#include "fake_image_files.h"
#include "recording_view.h"
#include "temp_folder.h"
#include "test_archives.h"

namespace tvk::test {

// What the user sees (the list, the selection, the name box, the preview, the buttons) and the
// stored names, to compare before and after a command that must change nothing.
struct WindowState {
    std::vector<std::u16string> rows;
    int selection;
    std::u16string name;
    int previews_drawn;
    bool buttons_enabled;
    std::vector<std::string> names;
    bool operator==(const WindowState&) const = default;
};

// A started editor over a recording view, with a folder for its files. Every test ends by checking
// that the editor never asked the list for a row that does not exist.
class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override { editor.initialise(); }
    void TearDown() override { EXPECT_EQ(view.misuses, std::vector<std::string>{}); }

    // Writes an archive of these entries and opens it in the editor.
    void open_entries(const std::vector<TestEntry>& entries);
    void open(const std::filesystem::path& file);
    // The user clicks a row of the list.
    void click_row(int row);
    // The user types a name and clicks "Add".
    void add(const std::u16string& name);
    // The stored names of every entry, in order.
    std::vector<std::string> names() const;
    WindowState window_state() const;

    TempFolder folder;
    RecordingView view;
    FakeImageFiles images;
    EditorController editor{view, images};
};

// Colour values (0x00BBGGRR) for the screens of test entries.
inline constexpr ColourValue kRed = 0x0000FF;
inline constexpr ColourValue kGreen = 0x00FF00;
inline constexpr ColourValue kBlue = 0xFF0000;
inline constexpr ColourValue kWhite = 0xFFFFFF;

}  // namespace tvk::test
