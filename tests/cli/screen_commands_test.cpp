#include "cli_test.h"
#include "contact_sheet.h"

namespace tvk::test {
namespace {

using ScreenCommands = CliTest;

TEST_F(ScreenCommands, ExportWritesThePaletteInSlotOrderOrRgbAndEitherImportsBack) {
    const ScreenBlock block = block_of(grid_with_colours(63));
    check({on("a.dat", archive_with("a63 b0"), ok("export a.dat 0 p.png")),
           ok("export --rgb a.dat 0 rgb.png"), ok("export a.dat 1 black.png")});
    // The 64 slots as stored (green, red, 0, blue), slot 0 included.
    std::string palette;
    for (std::size_t at = kPaletteOffset; at < kPaletteOffset + 4 * kPaletteEntries; at += 4) {
        palette += {static_cast<char>(block[at + 1]), static_cast<char>(block[at]),
                    static_cast<char>(block[at + 3])};
    }
    EXPECT_EQ(png_chunk(read_file("p.png"), "PLTE"), palette);
    EXPECT_EQ(png_colour_type(read_file("rgb.png")), 2);
    EXPECT_EQ(picture("black.png").argb,
              solid_picture(kScreenWidth, kScreenHeight, 0xFF000000u).argb);
    for (const char* file : {"p.png", "rgb.png"}) {
        EXPECT_EQ(picture(file).argb, picture_of(grid_with_colours(63)).argb);
        check({ok("import a.dat 1 " + std::string(file))});
        const ScreenBlock imported = load(read_file("a.dat")).screen_block(1);
        EXPECT_TRUE(std::equal(imported.begin() + 4, imported.end(), block.begin() + 4)) << file;
    }
    // clang-format off
    check({
        on("w.png", png_of(solid_picture(121, 112, 0xFF000000u)), fails("import a.dat 0 w.png", "w.png: Image width must be 120")),
        on("h.png", png_announcing(120, 300000), fails("add a.dat h h.png", "h.png: Image height must be 112")),
        on("x.ico", icon_of(0xFFC8140Au, 0x80C8140Au), fails("insert a.dat 0 x x.ico", "x.ico: Can't open (Its half-transparent colours cannot be read exactly)")),
    });
    // clang-format on
}

TEST_F(ScreenCommands, SheetShowsEveryScreenInIndexOrderEightToARow) {
    EntryStore five;
    for (ColourValue i = 0; i < 5; ++i) {
        add_entry(five, "x", block_of(grid_with_colours(63, 0x00100000u * i)));
    }
    // clang-format off
    check({
        on("ten.dat", archive_with("a1 b2 c3 d4 e5 f6 g7 h8 i9 j10"), ok("sheet ten.dat p.png")),
        ok("sheet --rgb --jobs 3 ten.dat rgb.png"),
        on("five.dat", archive_bytes(five), ok("sheet --jobs=2 five.dat five.png")),
        on("e.dat", archive_with(""), fails("sheet e.dat e.png", "e.dat: The archive has no entries to show")),
        // A damaged header announcing far more screens than its file holds.
        on("h.dat", header_only_archive(kMaxEntries), fails("sheet h.dat h.png", "h.png: The sheet of 967 x 14463 pixels is too large to make")),
    });
    // clang-format on
    const Picture sheet = picture("p.png");
    ASSERT_EQ(sheet.width, 8 * kScreenWidth + 7);
    ASSERT_EQ(sheet.height, 2 * kScreenHeight + 1);
    // Entry 9 is the second of the second row; (x + y) % 10 picks its colour.
    EXPECT_EQ(sheet.pixel(121 + 3, 113 + 4), picture_of(grid_with_colours(10)).pixel(3, 4));
    EXPECT_EQ(sheet.pixel(7 * 121 + 5, 0), picture_of(grid_with_colours(8)).pixel(5, 0));
    EXPECT_EQ(sheet.pixel(120, 0), kSheetBackground);
    EXPECT_EQ(sheet.pixel(5 * 121, 150), kSheetBackground);
    // 11 colours: a palette picture, or RGB on request, the same pixels; over 256 colours RGB.
    EXPECT_EQ(png_colour_type(read_file("p.png")), 3);
    EXPECT_EQ(png_colour_type(read_file("rgb.png")), 2);
    EXPECT_EQ(picture("rgb.png").argb, sheet.argb);
    EXPECT_EQ(png_colour_type(read_file("five.png")), 2);
    EXPECT_EQ(picture("five.png").pixel(4 * 121 + 7, 9),
              picture_of(grid_with_colours(63, 0x00400000u)).pixel(7, 9));
    // More than 2^27 pixels are refused, however large the file.
    EXPECT_TRUE(contact_sheet_fits(9000, archive_size(9000)));
    EXPECT_FALSE(contact_sheet_fits(10000, archive_size(10000)));
    EXPECT_EQ(contact_sheet_size(65535).height, 925695);
}

TEST_F(ScreenCommands, SheetIsTheSameFileOnAnyNumberOfThreadsAndShowsEveryPixel) {
    // 19 entries: three bands, the last one short; few colours (a palette), then far more (RGB).
    for (const bool many_colours : {false, true}) {
        SCOPED_TRACE(many_colours ? "RGB" : "palette");
        EntryStore store;
        std::vector<Picture> screens;
        for (int i = 0; i < 19; ++i) {
            const PixelGrid grid = many_colours
                                       ? grid_with_colours(63, 0x00010000u * i)
                                       : grid_with_colours(1 + i % 7, 0x00101010u * (i % 3));
            screens.push_back(picture_of(grid));
            add_entry(store, std::to_string(i), block_of(grid));
        }
        check({on("s.dat", archive_bytes(store), ok("sheet --jobs 1 s.dat one.png")),
               ok("sheet --jobs 3 s.dat three.png")});
        EXPECT_EQ(read_file("one.png"), read_file("three.png"));
        EXPECT_EQ(png_colour_type(read_file("one.png")), many_colours ? 2 : 3);
        const Picture sheet = picture("three.png");
        ASSERT_EQ(sheet.width, 8 * kScreenWidth + 7);
        ASSERT_EQ(sheet.height, 3 * kScreenHeight + 2);
        for (int y = 0; y < sheet.height; ++y) {
            for (int x = 0; x < sheet.width; ++x) {
                const auto entry = static_cast<std::size_t>(y / 113 * 8 + x / 121);
                const bool on_screen =
                    x % 121 < kScreenWidth && y % 113 < kScreenHeight && entry < screens.size();
                ASSERT_EQ(sheet.pixel(x, y),
                          on_screen ? screens[entry].pixel(x % 121, y % 113) : kSheetBackground)
                    << x << "," << y;
            }
        }
    }
}

}  // namespace
}  // namespace tvk::test
