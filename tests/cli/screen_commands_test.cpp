#include <algorithm>
#include <bitset>

#include "cli_test.h"
#include "contact_sheet.h"

namespace tvk::test {
namespace {

namespace fs = std::filesystem;

using ScreenCommands = CliTest;

TEST_F(ScreenCommands, ExportWritesThePaletteInSlotOrderOrRgbAndTheSheetRefusesWhatItCannotShow) {
    const ScreenBlock block = block_of(grid_with_colours(63));
    // clang-format off
    check({
        on("a.dat", archive_with("a63"), ok("export a.dat 0 p.png")),
        ok("export --rgb a.dat 0 rgb.png"),
        on("w.png", png_of(solid_picture(121, 112, 0xFF000000u)), fails("import a.dat 0 w.png", "w.png: Image width must be 120")),
        on("x.ico", icon_of(0xFFC8140Au, 0x80C8140Au), fails("insert a.dat 0 x x.ico", "x.ico: Can't open (Its half-transparent colours cannot be read exactly)")),
        on("e.dat", archive_with(""), fails("sheet e.dat e.png", "e.dat: The archive has no entries to show")),
        // A damaged header announcing far more screens than its file holds.
        on("h.dat", header_only_archive(kMaxEntries), fails("sheet h.dat h.png", "h.png: The sheet of 967 x 14463 pixels is too large to make")),
    });
    // clang-format on
    // The 64 slots as stored (green, red, 0, blue), slot 0 included.
    std::string palette;
    for (std::size_t at = kPaletteOffset; at < kPaletteOffset + 4 * kPaletteEntries; at += 4) {
        palette += {static_cast<char>(block[at + 1]), static_cast<char>(block[at]),
                    static_cast<char>(block[at + 3])};
    }
    EXPECT_EQ(png_chunk(read_file("p.png"), "PLTE"), palette);
    EXPECT_EQ(picture("p.png").argb, picture_of(grid_with_colours(63)).argb);
    EXPECT_EQ(png_colour_type(read_file("rgb.png")), 2);
    // More than 2^27 pixels are refused, however large the file.
    EXPECT_TRUE(contact_sheet_fits(9000, archive_size(9000)));
    EXPECT_FALSE(contact_sheet_fits(10000, archive_size(10000)));
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
               ok("sheet --jobs=3 s.dat three.png"), ok("sheet --rgb s.dat rgb.png")});
        EXPECT_EQ(read_file("one.png"), read_file("three.png"));
        EXPECT_EQ(png_colour_type(read_file("one.png")), many_colours ? 2 : 3);
        EXPECT_EQ(png_colour_type(read_file("rgb.png")), 2);
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

// An archive with everything a picture cannot carry, and record checksums that are wrong.
std::string foreign_archive() {
    EntryStore store = load(archive_with("plain5 odd2 junk3 unused4 all63 blank0 x6 y7 c2 !!4"));
    std::copy_n("\x01\x02\x03\x04", 4, store.name_buffer(1).begin() + 60);  // not the data size
    store.screen_block(2)[12000] = 0x5A;                                    // after the stream
    store.screen_block(3)[8 + 4 * 40] = 0x77;  // a palette entry that no pixel uses
    store.screen_block(3)[5] = 0x09;
    store.screen_block(4)[8] = 0x42;  // pixel 0 takes palette entry 0: 64 colours on screen
    store.screen_block(4)[264 + 1] &= 0xC0;
    std::copy_n("q\"b\\s\x01\x7F\x9F\xA0\xFF", 10, store.name_buffer(6).begin() + kNameOffset);
    std::copy_n("ab\0junk", 7, store.name_buffer(7).begin() + kNameOffset);
    std::string file = archive_bytes(store);
    set_stored_checksum(file, 256, 64, 0x12345678);
    set_stored_checksum(file, 64 * 15 + 2 * kBlockSize, kBlockSize, 0);
    return file + "bytes after the last block";
}

// Unpacked untouched, the folder packs back to the archive on any threads and in either form;
// changed pictures are imported, the first problem is named, no stale file is left.
TEST_F(ScreenCommands, UnpackAndPackKeepWhatAPictureCannotCarry) {
    fs::create_directories("d/0003.png");
    // clang-format off
    check({
        on("a.dat", foreign_archive(), fails("unpack --jobs 4 a.dat d", "d: The folder is not empty; give --force to write into it")),
        fails("unpack --force --jobs 1 a.dat d", "d/0003.png: Can't save (Is a directory)"),
        fails("unpack a.dat a.dat", "a.dat: Not a folder"),
    });
    // clang-format on
    // No job starts after the one that failed; the manifest comes last.
    EXPECT_EQ(file_names("d"), words("0000.png 0001.png 0002.block 0002.png 0003.png"));
    fs::remove("d/0003.png");
    // The records a short file lacks read as zero bytes: their names share a hash.
    const std::string short_file = archive_with("c2 a3 lost0 lost0 lost0").substr(0, 256 + 128);
    check({ok("unpack --force --jobs=256 a.dat d"), ok("unpack --rgb a.dat rgb"),
           on("s.dat", short_file, ok("unpack s.dat s")), ok("pack s s.dat")});
    EXPECT_EQ(read_file("s.dat"), resaved(short_file));
    EXPECT_NE(read_file("s/manifest.txt").find("\nshared-hash 00000000 3\n"), std::string::npos);
    EXPECT_EQ(file_names("d"),
              words("0000.png 0001.png 0002.block 0002.png 0003.block 0003.png 0004.block 0004.png "
                    "0005.block 0005.png 0006.png 0007.png 0008.png 0009.png manifest.txt"));
    const std::string manifest = read_file("d/manifest.txt");
    // clang-format off
    for (const std::string line : {"\n0000.png\t68280000\t-\t\"plain\"\n0001.png\t01020304\t-\t\"odd\"\n0002.png\t68280000\t0002.block\t\"junk\"\n",
                                   "\n0005.png\t68280000\t0005.block\t\"blank\"\n0006.png\t68280000\t-\t\"q\\\"b\\\\s\\x01\\x7f\\x9f\xC2\xA0\xC3\xBF\"\n"
                                   "0007.png\t68280000\t-\t\"ab\\x00junk\"\n", "\nshared-hash 00000063 2\n"}) {
        // clang-format on
        EXPECT_NE(manifest.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(std::ranges::count(read_file("d/0005.block"), '\n'), 1);  // a blank block: no row
    EXPECT_EQ(png_colour_type(read_file("d/0000.png")), 3);
    EXPECT_EQ(png_colour_type(read_file("rgb/0000.png")), 2);
    // Only the stored checksums differ from the original: every save recomputes them.
    check({ok("pack --jobs 1 d p1.dat"), ok("pack --jobs 3 d p3.dat"), ok("pack rgb p.dat")});
    for (const char* packed : {"p1.dat", "p3.dat", "p.dat"}) {
        EXPECT_EQ(read_file(packed), resaved(foreign_archive())) << packed;
    }
    write_file("d/0002.png", png_of(picture_of(grid_with_colours(9))));
    check({ok("pack d p.dat")});
    EntryStore expected = load(foreign_archive());
    expected.screen_block(2) = block_of(grid_with_colours(9));
    EXPECT_EQ(read_file("p.dat"), archive_bytes(expected));
    // The 64-colour screen edited in one pixel: no longer its stored block, and refused.
    Picture edited = picture("d/0004.png");
    edited.argb.back() = 0xFFFFFFFFu;
    write_file("d/0004.png", png_of(edited));
    write_file("d/0006.png", "not a picture");
    // clang-format off
    check({
        fails("pack --jobs 4 d p.dat", "d/0004.png: Image consists more than 63 colors!"),
        on("d/0001.png", "", fails("pack --jobs 4 d p.dat", "d/0001.png: Can't open (Not a picture)")),
    });
    // clang-format on
    EXPECT_EQ(read_file("p.dat"), archive_bytes(expected));
    // Unpacking a smaller archive removes the files of the larger one, and only those.
    write_file("d/notes.txt", "the user's own");
    write_file("d/12.png", "not of the pattern");
    check({on("e.dat", archive_with("e5"), ok("unpack --force e.dat d")), ok("pack d p.dat")});
    EXPECT_EQ(file_names("d"), words("0000.png 12.png manifest.txt notes.txt"));
    EXPECT_EQ(read_file("p.dat"), read_file("e.dat"));
}

// On several threads pack writes the archive while the pictures are read. A picture that cannot be
// read is named before a save that cannot be made, on any threads, and nothing is written.
TEST_F(ScreenCommands, PackOnSeveralThreadsWritesTheSameArchiveOrNothing) {
    std::string entries;
    for (int i = 0; i < 70; ++i) {  // more blocks than the saver waits for at once
        entries += std::bitset<11>(i).to_string('a', 'b') + std::to_string(i % 63 + 1) + " ";
    }
    const std::string archive = archive_with(entries);
    const std::string refused = "d/0050.png: Can't open (Not a picture)";
    check({on("a.dat", archive, ok("unpack a.dat d")), ok("pack --jobs 1 d p1.dat"),
           ok("pack --jobs 3 d p3.dat"),
           on("d/0050.png", "", fails("pack --jobs 1 d missing/p.dat", refused)),
           fails("pack --jobs 3 d missing/p.dat", refused),
           fails("pack --jobs 3 d p3.dat", refused)});
    EXPECT_EQ(read_file("p1.dat"), archive);
    EXPECT_EQ(read_file("p3.dat"), archive);
    EXPECT_EQ(m_folder.file_names(), words("a.dat d p1.dat p3.dat"));
}

TEST_F(ScreenCommands, TheManifestIsReadAsWrittenOrEditedAndItsMistakesNamed) {
    check({on("a.dat", archive_with("a2 b3 c4"), ok("unpack a.dat d"))});
    write_file("d/new.png", png_of(picture_of(grid_with_colours(20))));
    write_file("d/0001.png", png_of(picture_of(grid_with_colours(9))));
    // Saved by an editor that puts a byte-order mark first and ends lines with CR LF.
    check({on("d/manifest.txt",
              "\xEF\xBB\xBFtvk-manifest 1\n 0002.png 01020304 - \"see\"\r\n# a comment\n\n"
              "0000.png\t-\t-\t\"a\"\t\nnew.png - - \"n\xC3\xA9w\"\n0001.png - - \"b\"\n",
              ok("pack d p.dat"))});
    EntryStore expected = load(archive_with("see4 a2 n\xE9w20 b9"));
    std::copy_n("\x01\x02\x03\x04", 4, expected.name_buffer(0).begin() + 60);
    EXPECT_EQ(read_file("p.dat"), archive_bytes(expected));

    std::string too_many;
    for (std::size_t i = 0; i <= kMaxEntries; ++i) {  // names of eleven bits: no hash shared
        too_many += "0000.png - - \"" + std::bitset<11>(i).to_string('0', '1') + "\"\n";
    }
    const auto mistake = [](const std::string& entries, const std::string& message) {
        return on("d/manifest.txt", "tvk-manifest 1\n" + entries,
                  fails("pack d p.dat", "d/" + message));
    };
    const std::string shared = "shared-hash 00000063 2\n0002.png - - \"!!\"\n0000.png - - \"c\"\n";
    const auto dump = [&](const std::string& text, const std::string& message) {
        return on("d/8.block", text, fails("pack d p.dat", "d/8.block: line 1: " + message));
    };
    // clang-format off
    check({
        on("d/manifest.txt", "tvk-manifest 1\n" + shared, ok("pack d p.dat")),  // lines may move
        on("d/manifest.txt", "tvk-manifest 1\nshared-hash 00000063 0\n0000.png - - \"c\"\n", ok("pack d p.dat")),
        mistake(shared + "0001.png - - \"c\"\n", "manifest.txt:5: This name make hash collision"),
        mistake("0000.png - - \"c\"\n0001.png - - \"!!\"\n", "manifest.txt:3: This name make hash collision"),
        mistake("0000.png - - \"a\\tb\"\n", "manifest.txt:2: the name holds an unknown escape; use \\\\, \\\" or \\xHH"),
        mistake("0000.png - - \"a\" x\n", "manifest.txt:2: nothing may follow the name's closing quote"),
        mistake("0000.png - - \"a\n", "manifest.txt:2: the name has no closing quote"),
        mistake("0000.png - - \"" + std::string(30, 'a') + "\\x00" + std::string(26, 'b') + "\"\n", "manifest.txt:2: The name is longer than 56 characters"),
        mistake("0000.png 6828 - \"a\"\n", "manifest.txt:2: the record bytes 60-63 must be 8 hex digits or -"),
        mistake(too_many, "manifest.txt:1020: Too many entries"),
        mistake("my picture.png\t-\t-\t\"a\"\n", "manifest.txt:2: a file name may not hold blanks (spaces or tabs); rename the file"),
        mistake("- - - \"a\"\n", "manifest.txt:2: the entry has no picture file"),
        mistake("0000.png - \"a\"\n", "manifest.txt:2: an entry needs a picture, the record bytes 60-63, a block (or -) and a name"),
        mistake("shared-hash 63 2\n", "manifest.txt:2: a shared-hash line holds a name hash as 8 hex digits and a number of entries"),
        mistake("shared-hash 00000063\n", "manifest.txt:2: a shared-hash line holds a name hash as 8 hex digits and a number of entries"),
        mistake("0000.png - 8.block \"a\"\n", "8.block: Can't open (No such file or directory)"),
        dump("0010 " + std::string(64, '0'), "the offset must be a multiple of 32 (hex 20) below 16384 (hex 4000)"),
        dump("4000 " + std::string(64, '0'), "the offset must be a multiple of 32 (hex 20) below 16384 (hex 4000)"),
        dump("0020 " + std::string(62, '0'), "a row holds 32 bytes as 64 hex digits"),
        dump("20 " + std::string(64, '0'), "a row begins with its offset as 4 hex digits"),
        on("d/8.block", "0020 " + std::string(64, '0') + "\r\n0020 " + std::string(64, '0'), fails("pack d p.dat", "d/8.block: line 2: this row's offset was given before")),
        on("d/manifest.txt", "\n# c\n0000.png - - \"a\"\n", fails("pack d p.dat", "d/manifest.txt:3: the manifest must begin with the line \"tvk-manifest 1\"")),
        fails("pack e p.dat", "e/manifest.txt: Can't open (No such file or directory)"),
    });
    // clang-format on
}

}  // namespace
}  // namespace tvk::test
