// Set Screen and Save Screen, seen through the editor's view.
#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "messages.h"
#include "record.h"
#include "screen_codec.h"

namespace tvk::test {
namespace {

class ScreenCommands : public EditorTest {
  protected:
    void SetUp() override {
        EditorTest::SetUp();
        open_entries({{"zero", kRed}, {"one", kGreen}});
    }
    // The user picks a picture file for Set Screen.
    void set_screen(const Picture& picture) {
        const std::filesystem::path file = folder / "picture";
        write_picture_file(file, picture);
        view.answer_file(file);
        editor.set_screen();
    }
    // Save Screen into `file`, read back through the test format.
    Picture save_screen(const std::filesystem::path& file) {
        view.answer_file(file);
        editor.save_screen();
        return read_picture_file(file).value_or(Picture{});
    }
};

// The colour value of a pixel of picture_with_colours, worked out by hand.
ColourValue expected_colour(int colours, int x, int y) {
    const auto k = static_cast<std::uint32_t>((x * kScreenHeight + y) % colours);
    return k | (k * 2) << 8 | (k * 3) << 16;
}

TEST_F(ScreenCommands, SetScreenWithoutASelectionOpensNoChooser) {
    editor.set_screen();

    EXPECT_EQ(view.choices, std::vector{FileChoice::open_archive});
    EXPECT_EQ(images.pictures_read, 0);
    EXPECT_EQ(view.previews_drawn, 0);
}

TEST_F(ScreenCommands, CancelledSetScreenChangesNothing) {
    click_row(0);
    const int drawn = view.previews_drawn;

    editor.set_screen();

    EXPECT_EQ(view.choices.back(), FileChoice::open_image);
    EXPECT_EQ(images.pictures_read, 0);
    EXPECT_EQ(view.previews_drawn, drawn);
    EXPECT_EQ(screen_of(editor.store(), 0), solid_grid(kRed));
}

TEST_F(ScreenCommands, SetScreenChecksWidthThenHeightThenColours) {
    struct Case {
        Picture picture;
        std::string_view message;
    };
    const std::vector<Case> cases = {
        {solid_picture(121, 113, 0xFF000000), kBadWidth},
        {solid_picture(112, 120, 0xFF000000), kBadWidth},
        {solid_picture(0, 0, 0xFF000000), kBadWidth},
        {solid_picture(120, 113, 0xFF000000), kBadHeight},
        {solid_picture(120, 111, 0xFF000000), kBadHeight},
        {picture_with_colours(64), kTooManyColoursMessage},
    };
    click_row(1);
    view.name = u"typed";
    const WindowState before = window_state();

    for (const Case& c : cases) {
        view.warnings.clear();
        set_screen(c.picture);
        EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(c.message)})
            << c.picture.width << " x " << c.picture.height;
    }

    EXPECT_EQ(screen_of(editor.store(), 1), solid_grid(kGreen));
    EXPECT_EQ(window_state(), before);
}

TEST_F(ScreenCommands, AFileThatIsNoPictureIsRefusedForItsWidth) {
    click_row(0);
    const std::filesystem::path text = folder / "notes.txt";
    write_file(text, "not a picture");
    for (const std::filesystem::path& file : {text, folder / "missing.png"}) {
        view.answer_file(file);
        editor.set_screen();
    }

    EXPECT_EQ(view.warnings, std::vector<std::string>(2, std::string(kBadWidth)));
    EXPECT_EQ(screen_of(editor.store(), 0), solid_grid(kRed));
}

TEST_F(ScreenCommands, SetScreenAcceptsSixtyThreeColoursAndShowsTheEntryAgain) {
    click_row(1);
    const NameBuffer name_before = editor.store().name_buffer(1);
    view.name = u"typed";

    set_screen(picture_with_colours(63));

    EXPECT_TRUE(view.warnings.empty());
    ASSERT_NE(view.preview, nullptr);
    for (int x = 0; x < kScreenWidth; ++x) {
        for (int y = 0; y < kScreenHeight; ++y) {
            ASSERT_EQ((*view.preview)[grid_index(x, y)], expected_colour(63, x, y))
                << x << "," << y;
        }
    }
    EXPECT_EQ(editor.pixel_grid(), *view.preview);
    EXPECT_EQ(view.name, u"one");
    EXPECT_EQ(view.rows, (std::vector<std::u16string>{u"zero", u"one"}));
    EXPECT_EQ(view.selection, 1);
    EXPECT_TRUE(view.buttons_enabled);
    EXPECT_EQ(editor.store().name_buffer(1), name_before);
    EXPECT_EQ(screen_of(editor.store(), 0), solid_grid(kRed));
}

TEST_F(ScreenCommands, ColoursThatDifferOnlyInAlphaAreOne) {
    Picture picture = solid_picture(kScreenWidth, kScreenHeight, 0xFFFF0000);
    for (std::size_t i = 0; i < picture.argb.size(); i += 2) {
        picture.argb[i] = 0x80FF0000;
    }
    click_row(0);

    set_screen(picture);

    EXPECT_TRUE(view.warnings.empty());
    EXPECT_EQ(*view.preview, solid_grid(0x0000FF));
}

TEST_F(ScreenCommands, SaveScreenBeforeAnyEntryWasShownWritesABlackScreen) {
    const Picture saved = save_screen(folder / "black.png");

    EXPECT_EQ(view.choices.back(), FileChoice::save_png);
    EXPECT_TRUE(view.warnings.empty());
    EXPECT_EQ(saved.width, kScreenWidth);
    EXPECT_EQ(saved.height, kScreenHeight);
    EXPECT_EQ(saved.argb, std::vector<std::uint32_t>(kPixelCount, 0xFF000000));
}

TEST_F(ScreenCommands, SaveScreenWritesTheScreenShownLastUnderTheNameAsTyped) {
    click_row(1);
    open(folder / "missing.dat");  // the list empties, the preview stays
    ASSERT_EQ(editor.store().count(), 0u);
    view.warnings.clear();
    const std::filesystem::path target = folder / "shot";
    write_file(target, "old contents");

    const Picture saved = save_screen(target);

    EXPECT_TRUE(view.warnings.empty());
    EXPECT_EQ(saved.argb, std::vector<std::uint32_t>(kPixelCount, 0xFF00FF00));
    EXPECT_EQ(folder.file_names(), (std::vector<std::string>{"TVK.DAT", "shot"}));
}

TEST_F(ScreenCommands, CancelledSaveScreenWritesNothing) {
    editor.save_screen();

    EXPECT_EQ(folder.file_names(), std::vector<std::string>{"TVK.DAT"});
    EXPECT_TRUE(view.warnings.empty());
}

TEST_F(ScreenCommands, FailedSaveScreenSaysCantSaveAndKeepsTheOldFile) {
    const std::filesystem::path target = folder / "shot.png";
    write_file(target, "old contents");
    images.fail_encoding = true;

    save_screen(target);

    EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(kCantSave)});
    EXPECT_EQ(read_file(target), "old contents");

    images.fail_encoding = false;
    view.warnings.clear();
    std::filesystem::create_directory(folder / "a folder");
    save_screen(folder / "a folder");
    EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(kCantSave)});
    EXPECT_TRUE(std::filesystem::is_directory(folder / "a folder"));
}

TEST_F(ScreenCommands, ExportedScreenImportsIntoAnotherEntryUnchanged) {
    click_row(0);
    set_screen(picture_with_colours(63));
    const PixelGrid shown = editor.pixel_grid();
    const std::filesystem::path file = folder / "exported.png";
    save_screen(file);

    click_row(1);
    view.answer_file(file);
    editor.set_screen();

    EXPECT_TRUE(view.warnings.empty());
    EXPECT_EQ(editor.pixel_grid(), shown);
    EXPECT_EQ(screen_of(editor.store(), 1), shown);
}

TEST_F(ScreenCommands, AScreenOfSixtyFourColoursExportsButDoesNotImport) {
    // 63 colours as the encoder numbers them, then palette entry 0 made white and given to pixel
    // (0, 0), whose index is the low six bits of the first word's low byte.
    ScreenBlock block = solid_block(0);
    PixelGrid grid{};
    for (int x = 0; x < kScreenWidth; ++x) {
        for (int y = 0; y < kScreenHeight; ++y) {
            grid[grid_index(x, y)] = expected_colour(63, x, y);
        }
    }
    ASSERT_EQ(encode_screen(grid, block), kEncoded);
    write_u32(block.data() + kPaletteOffset, palette_entry_from_colour(kWhite));
    block[kPixelStreamOffset + 1] &= 0xC0;
    const std::filesystem::path archive = folder / "many.dat";
    write_archive(archive, {{"many", block}, {"other", solid_block(kRed)}});
    open(archive);
    click_row(0);
    ASSERT_EQ(editor.pixel_grid()[grid_index(0, 0)], kWhite);

    const std::filesystem::path file = folder / "many.png";
    const Picture saved = save_screen(file);
    EXPECT_EQ(saved.pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(saved.pixel(0, 63), 0xFF000000u);

    click_row(1);
    view.answer_file(file);
    editor.set_screen();
    EXPECT_EQ(view.warnings, std::vector<std::string>{std::string(kTooManyColoursMessage)});
    EXPECT_EQ(screen_of(editor.store(), 1), solid_grid(kRed));
}

}  // namespace
}  // namespace tvk::test
