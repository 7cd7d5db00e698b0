#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "builders.h"
#include "editor_controller.h"
#include "temp_folder.h"
#include "test_doubles.h"

namespace tvk::test {

// Colour values (0x00BBGGRR) of the test archive's screens.
inline constexpr ColourValue kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000;

// An editor over a recording view, with a folder of files: "abc" (entries "zero", "one" and "two"
// with red, green and blue screens), "text", a folder "dir" and pictures "white", "wide" (121 x
// 113), "tall" (120 x 113), "short" (120 x 112 with 10 pixels), "63c" and "64c" (of so many
// colours).
class EditorTest : public ::testing::Test {
  protected:
    void SetUp() override;
    // A fresh editor, started, with "abc" opened and nothing selected.
    void restart();
    // Runs steps separated by spaces, as the user would:
    //   @N click row N (@- no row)     =TEXT type TEXT in the name box, Latin-1, ^ for U+0100
    //   open save ren add ins del up down set export undo redo: the button or shortcut; its
    //     file chooser is cancelled, or answered with FILE when written open:FILE and so on
    //   drop:FILE                      a file dropped on the window
    //   kU kD kI kX ko                 Up, Down, Insert, Delete, another key in the list, with
    //                                  Shift when upper case; the answer is logged, [h] or [l]
    //   fail0 fail1  the list throws at the first or second row inserted from now on
    //   throw  reading a picture throws    nopng  PNG encoding fails
    void run(std::string_view script);
    // What the user sees, as one line of Latin-1: each row (* when selected) with the colour of its
    // entry's screen (R, G, B, W white, K black, ? other), the name box, the buttons, the preview
    // (- for none yet), then the warnings and key answers. A row that is not its entry's stored
    // name shows as "row!=stored".
    std::string state() const;

    TempFolder folder;
    FakeImageFiles images;
    std::unique_ptr<RecordingView> view;
    std::unique_ptr<EditorController> editor;
};

}  // namespace tvk::test
