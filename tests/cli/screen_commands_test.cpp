#include <sys/stat.h>

#include <QImage>
#include <QString>

#include "cli_fixture.h"
#include "contact_sheet.h"
#include "picture_bytes.h"
#include "screen_codec.h"

namespace tvk::test {
namespace {

class ScreenCommands : public CliTest {
  protected:
    ScreenCommands() {
        EntryStore store;
        add_entry(store, "first", block_of(grid_with_colours(63)));
        add_entry(store, "second", ScreenBlock{});
        write("tvk.dat", archive_bytes(store));
    }
    // Imports a picture into entry 1 and expects the refusal, the archive unchanged.
    void expect_import_refused(const std::string& picture, const std::string& message) {
        const std::string before = read("tvk.dat");
        const RunResult run = tvk({"import", at("tvk.dat"), "1", at(picture)});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "tvk: " + at(picture) + ": " + message + "\n");
        EXPECT_EQ(read("tvk.dat"), before);
    }
};

TEST_F(ScreenCommands, ExportWritesTheScreenOpaqueWithExactColours) {
    ASSERT_EQ(tvk({"export", at("tvk.dat"), "0", at("out.png")}).status, 0);
    const Picture picture = read_picture("out.png");
    ASSERT_EQ(picture.width, kScreenWidth);
    ASSERT_EQ(picture.height, kScreenHeight);
    const PixelSource expected = source_of(grid_with_colours(63));
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            ASSERT_EQ(picture.pixel(x, y), expected(x, y)) << x << "," << y;
        }
    }
    // A blank block is a black screen.
    ASSERT_EQ(tvk({"export", at("tvk.dat"), "1", at("out.png")}).status, 0);
    EXPECT_EQ(read_picture("out.png").pixel(60, 50), 0xFF000000u);
}

TEST_F(ScreenCommands, ExportThatCannotBeWrittenLosesNothing) {
    std::filesystem::create_directory(path("folder"));
    write("folder/inside", "kept");
    const RunResult over_folder = tvk({"export", at("tvk.dat"), "0", at("folder")});
    EXPECT_EQ(over_folder.status, 1);
    EXPECT_EQ(over_folder.err, "tvk: " + at("folder") + ": Can't save (Is a directory)\n");
    EXPECT_EQ(read("folder/inside"), "kept");
    write("plain", "kept");
    const RunResult under_file = tvk({"export", at("tvk.dat"), "0", at("plain/out.png")});
    EXPECT_EQ(under_file.status, 1);
    EXPECT_EQ(under_file.err, "tvk: " + at("plain/out.png") + ": Can't save (Not a directory)\n");
    EXPECT_EQ(read("plain"), "kept");
}

TEST_F(ScreenCommands, ImportReplacesOnlyTheScreen) {
    write_picture("pic.png", kScreenWidth, kScreenHeight, source_of(grid_with_colours(7)));
    ASSERT_EQ(tvk({"import", at("tvk.dat"), "1", at("pic.png")}).status, 0);
    EntryStore expected;
    add_entry(expected, "first", block_of(grid_with_colours(63)));
    add_entry(expected, "second", block_of(grid_with_colours(7)));
    EXPECT_EQ(read("tvk.dat"), archive_bytes(expected));
}

TEST_F(ScreenCommands, HalfTransparentPixelsCountByTheirColourAlone) {
    // Every other pixel at half alpha: the same 63 colours, so the import is accepted.
    const PixelSource opaque = source_of(grid_with_colours(63));
    write_picture("alpha.png", kScreenWidth, kScreenHeight, [&opaque](int x, int y) {
        return (x + y) % 2 == 0 ? opaque(x, y) : (opaque(x, y) & 0x00FFFFFFu) | 0x80000000u;
    });
    ASSERT_EQ(tvk({"import", at("tvk.dat"), "1", at("alpha.png")}).status, 0);
    EXPECT_EQ(screen_of(load(read("tvk.dat")).screen_block(1)), grid_with_colours(63));
}

TEST_F(ScreenCommands, ImportChecksWidthThenHeightThenColours) {
    const auto black = [](int, int) { return 0xFF000000u; };
    write_picture("121x113.png", 121, 113, black);
    expect_import_refused("121x113.png", "Image width must be 120");
    write_picture("112x120.png", 112, 120, black);
    expect_import_refused("112x120.png", "Image width must be 120");
    write_picture("120x113.png", 120, 113, black);
    expect_import_refused("120x113.png", "Image height must be 112");
    // A bitmap stored top row first announces a negative height: its size is the same.
    write("top-down.bmp", top_down_bitmap(120, 113, 0x102030));
    expect_import_refused("top-down.bmp", "Image height must be 112");
    write("top-down-screen.bmp", top_down_bitmap(kScreenWidth, kScreenHeight, 0x102030));
    EXPECT_EQ(tvk({"import", at("tvk.dat"), "1", at("top-down-screen.bmp")}).status, 0);
    write("text.png", "not a picture");
    expect_import_refused("text.png", "Can't open (Not a picture)");
    expect_import_refused("missing.png", "Can't open (No such file or directory)");
    // 63 colours and black: black counts like any other colour.
    const PixelSource colours = source_of(grid_with_colours(63));
    write_picture("64.png", kScreenWidth, kScreenHeight, [&colours](int x, int y) {
        return x == 0 && y == 0 ? 0xFF000000u : colours(x, y);
    });
    expect_import_refused("64.png", "Image consists more than 63 colors!");
}

TEST_F(ScreenCommands, PicturesThatCannotBeReadAreRefusedWithTheirReason) {
    // The size is read from the header: no pixel of these is ever decoded.
    write("huge.png", png_announcing(100000, 100000));
    expect_import_refused("huge.png", "Image width must be 120");
    write("tall.png", png_announcing(120, 300000));
    expect_import_refused("tall.png", "Image height must be 112");
    // The image library may warn about a cut file first; the refusal is the last line.
    write("one-row.png", png_announcing(120, 112));
    const RunResult cut = tvk({"import", at("tvk.dat"), "1", at("one-row.png")});
    EXPECT_EQ(cut.status, 1);
    EXPECT_TRUE(cut.err.ends_with("tvk: " + at("one-row.png") + ": Can't open (Not a picture)\n"))
        << cut.err;
    std::filesystem::create_directory(path("folder.png"));
    expect_import_refused("folder.png", "Can't open (Is a directory)");
    // A FIFO would block the reader for ever: it is refused before it is opened.
    ASSERT_EQ(mkfifo(at("fifo.png").c_str(), 0600), 0);
    expect_import_refused("fifo.png", "Can't open (Not a regular file)");
    // This icon decodes with its colours multiplied by alpha: red 200 at half alpha would
    // import as 199.
    write("half.ico", icon_of(0xFFC8140Au, 0x80C8140Au));
    expect_import_refused("half.ico",
                          "Can't open (Its half-transparent colours cannot be read exactly)");
    // The same icon fully opaque imports exactly.
    write("opaque.ico", icon_of(0xFFC8140Au, 0xFF0A14C8u));
    ASSERT_EQ(tvk({"import", at("tvk.dat"), "1", at("opaque.ico")}).status, 0);
    const PixelGrid grid = screen_of(load(read("tvk.dat")).screen_block(1));
    EXPECT_EQ(grid[grid_index(0, 0)], 0x00C8140Au);
    EXPECT_EQ(grid[grid_index(1, 0)], 0x000A14C8u);
    // add and insert read their picture the same way.
    const RunResult add = tvk({"add", at("tvk.dat"), "third", at("missing.png")});
    EXPECT_EQ(add.err, "tvk: " + at("missing.png") + ": Can't open (No such file or directory)\n");
}

TEST_F(ScreenCommands, ExportWritesThePaletteInSlotOrderOrRgbOnRequest) {
    const ScreenBlock block = block_of(grid_with_colours(63));
    ASSERT_EQ(tvk({"export", at("tvk.dat"), "0", at("palette.png")}).status, 0);
    const std::string png = read("palette.png");
    EXPECT_EQ(png_chunk(png, "IHDR").substr(8, 2), std::string("\x08\x03", 2));  // 8-bit palette
    // The 64 slots as stored (green, red, 0, blue), slot 0 included.
    std::string stored_palette;
    for (std::size_t slot = 0; slot < kPaletteEntries; ++slot) {
        const std::uint8_t* entry = block.data() + kPaletteOffset + 4 * slot;
        stored_palette +=
            {static_cast<char>(entry[1]), static_cast<char>(entry[0]), static_cast<char>(entry[3])};
    }
    EXPECT_EQ(png_chunk(png, "PLTE"), stored_palette);
    // Each pixel's number is the slot of its colour (every slot a colour of its own here), and its
    // colour today's.
    const QImage indexed(QString::fromStdString(at("palette.png")));
    ASSERT_EQ(indexed.format(), QImage::Format_Indexed8);
    const PixelSource expected = source_of(grid_with_colours(63));
    for (int y = 0; y < kScreenHeight; ++y) {
        for (int x = 0; x < kScreenWidth; ++x) {
            const std::uint32_t argb = expected(x, y);
            const std::string rgb = {static_cast<char>(argb >> 16), static_cast<char>(argb >> 8),
                                     static_cast<char>(argb)};
            ASSERT_EQ(3 * static_cast<std::size_t>(indexed.pixelIndex(x, y)),
                      stored_palette.find(rgb))
                << x << "," << y;
            ASSERT_EQ(indexed.pixel(x, y), argb) << x << "," << y;
        }
    }
    ASSERT_EQ(tvk({"export", "--rgb", at("tvk.dat"), "0", at("rgb.png")}).status, 0);
    EXPECT_EQ(png_chunk(read("rgb.png"), "IHDR").substr(8, 2), std::string("\x08\x02", 2));
    EXPECT_TRUE(png_chunk(read("rgb.png"), "PLTE").empty());
    // Either form imports back to the very same screen.
    for (const char* file : {"palette.png", "rgb.png"}) {
        ASSERT_EQ(tvk({"import", at("tvk.dat"), "1", at(file)}).status, 0) << file;
        const ScreenBlock imported = load(read("tvk.dat")).screen_block(1);
        EXPECT_TRUE(std::equal(imported.begin() + kChecksumLength, imported.end(),
                               block.begin() + kChecksumLength))
            << file;
    }
}

TEST(ContactSheet, IsRefusedBeyondThePixelLimitOrFarBeyondTheScreensTheFileHolds) {
    const std::uint64_t full_archive = archive_size(kMaxEntries);
    const struct {
        std::size_t entries;
        std::uint64_t file_size;
        bool fits;
    } cases[] = {
        {kMaxEntries, full_archive, true},
        {1500, archive_size(1500), true},
        {kSheetEntriesBeyondTheFile, kRecordLength, true},
        {kSheetEntriesBeyondTheFile + 1, kRecordLength, false},
        {kMaxEntries, kRecordLength, false},
        {9000, archive_size(9000), true},
        {10000, archive_size(10000), false},  // over 2^27 pixels
    };
    for (const auto& c : cases) {
        EXPECT_EQ(contact_sheet_fits(c.entries, c.file_size), c.fits) << c.entries;
    }
}

TEST(ContactSheet, SizeGrowsByRowsOfEightWithOnePixelBetweenScreens) {
    const struct {
        std::size_t entries;
        int width;
        int height;
    } cases[] = {
        {1, 120, 112}, {8, 967, 112}, {9, 967, 225}, {1018, 967, 14463}, {65535, 967, 925695},
    };
    for (const auto& c : cases) {
        const PictureSize size = contact_sheet_size(c.entries);
        EXPECT_EQ(size.width, c.width) << c.entries;
        EXPECT_EQ(size.height, c.height) << c.entries;
    }
}

TEST_F(ScreenCommands, SheetOfMoreThan256ColoursIsRgb) {
    EntryStore store;
    for (ColourValue i = 0; i < 5; ++i) {
        add_entry(store, std::to_string(i), block_of(grid_with_colours(63, 0x00100000u * i)));
    }
    write("five.dat", archive_bytes(store));
    ASSERT_EQ(tvk({"sheet", "--jobs=2", at("five.dat"), at("sheet.png")}).status, 0);
    EXPECT_EQ(png_colour_type(read("sheet.png")), 2);
    const Picture sheet = read_picture("sheet.png");
    ASSERT_EQ(sheet.width, 5 * kScreenWidth + 4);
    EXPECT_EQ(sheet.pixel(4 * 121 + 7, 9), source_of(grid_with_colours(63, 0x00400000u))(7, 9));
}

TEST_F(ScreenCommands, SheetShowsEveryScreenInIndexOrder) {
    EntryStore store;
    for (int i = 0; i < 10; ++i) {
        add_entry(store, std::to_string(i), block_of(grid_with_colours(i + 1)));
    }
    write("ten.dat", archive_bytes(store));
    ASSERT_EQ(tvk({"sheet", at("ten.dat"), at("sheet.png")}).status, 0);
    const Picture sheet = read_picture("sheet.png");
    ASSERT_EQ(sheet.width, 8 * kScreenWidth + 7);
    ASSERT_EQ(sheet.height, 2 * kScreenHeight + 1);
    // Entry 9 is the second of the second row; (x + y) % 10 picks its colour.
    EXPECT_EQ(sheet.pixel(121 + 3, 113 + 4), source_of(grid_with_colours(10))(3, 4));
    EXPECT_EQ(sheet.pixel(7 * 121 + 5, 0), source_of(grid_with_colours(8))(5, 0));
    EXPECT_EQ(sheet.pixel(120, 0), kSheetBackground);
    EXPECT_EQ(sheet.pixel(5 * 121, 150), kSheetBackground);
    // 10 colours and the background: a palette picture, or RGB on request; the same pixels.
    EXPECT_EQ(png_colour_type(read("sheet.png")), 3);
    ASSERT_EQ(tvk({"sheet", "--rgb", "--jobs", "3", at("ten.dat"), at("rgb.png")}).status, 0);
    EXPECT_EQ(png_colour_type(read("rgb.png")), 2);
    EXPECT_EQ(read_picture("rgb.png").argb, sheet.argb);

    EntryStore empty_store;
    write("empty.dat", archive_bytes(empty_store));
    const RunResult empty = tvk({"sheet", at("empty.dat"), at("sheet.png")});
    EXPECT_EQ(empty.status, 1);
    EXPECT_EQ(empty.err, "tvk: " + at("empty.dat") + ": The archive has no entries to show\n");
}

}  // namespace
}  // namespace tvk::test
