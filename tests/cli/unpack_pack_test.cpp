#include <bitset>

#include "cli_test.h"

namespace tvk::test {
namespace {

namespace fs = std::filesystem;

using UnpackPack = CliTest;

// An archive with everything a picture cannot carry, and record checksums that are wrong.
std::string foreign_archive() {
    EntryStore store = load(archive_with("plain5 odd2 junk3 unused4 all63 blank0 x6 y7"));
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
    set_stored_checksum(file, 64 * 13 + 2 * kBlockSize, kBlockSize, 0);
    return file;
}

TEST_F(UnpackPack, AnUntouchedUnpackPacksBackTheSameOnAnyThreadsAndInEitherForm) {
    write_file("a.dat", foreign_archive());
    check({ok("unpack --jobs 1 a.dat one"), ok("unpack --jobs=256 a.dat d"),
           ok("unpack --rgb a.dat rgb")});
    const std::vector<std::string> files = names_in("d");
    EXPECT_EQ(files,
              words("0000.png 0001.png 0002.block 0002.png 0003.block 0003.png 0004.block 0004.png "
                    "0005.block 0005.png 0006.png 0007.png manifest.txt"));
    for (const std::string& file : files) {
        EXPECT_EQ(read_file("one/" + file), read_file("d/" + file)) << file;
    }
    const std::string manifest = read_file("d/manifest.txt");
    EXPECT_TRUE(manifest.starts_with("tvk-manifest 1\n#"));
    // clang-format off
    for (const std::string line : {"\n0000.png\t68280000\t-\t\"plain\"\n0001.png\t01020304\t-\t\"odd\"\n0002.png\t68280000\t0002.block\t\"junk\"\n",
                                   "\n0005.png\t68280000\t0005.block\t\"blank\"\n0006.png\t68280000\t-\t\"q\\\"b\\\\s\\x01\\x7f\\x9f\xC2\xA0\xC3\xBF\"\n"
                                   "0007.png\t68280000\t-\t\"ab\\x00junk\"\n"}) {
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
}

TEST_F(UnpackPack, NamesThatShareAHashAndRecordsAShortFileLacksPackBack) {
    // "c" and "!!" share a hash; so do the records a short file lacks, read as zero bytes.
    const std::string whole = archive_with("c2 a3 !!4 lost0 lost0");
    for (const std::string& file :
         {whole + "bytes after the last block", whole.substr(0, 256 + 128), whole}) {
        fs::remove_all("d");
        check({on("a.dat", file, ok("unpack a.dat d")), ok("pack d p.dat")});
        EXPECT_EQ(read_file("p.dat"), resaved(file));
        EXPECT_NE(read_file("d/manifest.txt")
                      .find(file.size() == 384 ? "\nshared-hash 00000000 3\n"
                                               : "\nshared-hash 00000063 2\n"),
                  std::string::npos);
    }
}

TEST_F(UnpackPack, TheManifestIsReadAsWrittenOrEditedAndItsMistakesNamed) {
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
    const std::string words =
        ":2: an entry needs a picture, the record bytes 60-63, a block (or -) and a name";
    const std::string hash_line =
        ":2: a shared-hash line holds a name hash as 8 hex digits and a number of entries";
    const std::string block = "0000.png - 8.block \"a\"\n";
    const auto dump = [&](const std::string& text, const std::string& message) {
        return on("d/8.block", text, fails("pack d p.dat", "d/8.block: line 1: " + message));
    };
    const std::string offset =
        "the offset must be a multiple of 32 (hex 20) below 16384 (hex 4000)";
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
        mistake("0000.png - \"a\"\n", "manifest.txt" + words),
        mistake("shared-hash 63 2\n", "manifest.txt" + hash_line),
        mistake("shared-hash 00000063\n", "manifest.txt" + hash_line),
        mistake(block, "8.block: Can't open (No such file or directory)"),
        dump("0010 " + std::string(64, '0'), offset),
        dump("4000 " + std::string(64, '0'), offset),
        dump("0020 " + std::string(62, '0'), "a row holds 32 bytes as 64 hex digits"),
        dump("20 " + std::string(64, '0'), "a row begins with its offset as 4 hex digits"),
        on("d/8.block", "0020 " + std::string(64, '0') + "\r\n0020 " + std::string(64, '0'), fails("pack d p.dat", "d/8.block: line 2: this row's offset was given before")),
        on("d/manifest.txt", "\n# c\n0000.png - - \"a\"\n", fails("pack d p.dat", "d/manifest.txt:3: the manifest must begin with the line \"tvk-manifest 1\"")),
        fails("pack e p.dat", "e/manifest.txt: Can't open (No such file or directory)"),
    });
    // clang-format on
}

TEST_F(UnpackPack, ChangedPicturesAreImportedTheFirstProblemNamedAndNoStaleFileLeft) {
    write_file("a.dat", foreign_archive());
    fs::create_directories("d/0003.png");
    // clang-format off
    check({
        fails("unpack --jobs 4 a.dat d", "d: The folder is not empty; give --force to write into it"),
        fails("unpack --force --jobs 4 a.dat d", "d/0003.png: Can't save (Is a directory)"),
        fails("unpack a.dat a.dat", "a.dat: Not a folder"),
    });
    // clang-format on
    EXPECT_FALSE(fs::exists("d/manifest.txt"));  // written last
    fs::remove("d/0003.png");
    check({ok("unpack --force a.dat d")});
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
        fails("pack --jobs 1 d p.dat", "d/0004.png: Image consists more than 63 colors!"),
        fails("pack --jobs 4 d p.dat", "d/0004.png: Image consists more than 63 colors!"),
        on("d/0001.png", "", fails("pack --jobs 4 d p.dat", "d/0001.png: Can't open (Not a picture)")),
    });
    // clang-format on
    EXPECT_EQ(read_file("p.dat"), archive_bytes(expected));
    // Unpacking a smaller archive removes the files of the larger one, and only those.
    write_file("d/notes.txt", "the user's own");
    write_file("d/12.png", "not of the pattern");
    check({on("e.dat", archive_with("e5"), ok("unpack --force e.dat d")), ok("pack d p.dat")});
    EXPECT_EQ(names_in("d"), words("0000.png 12.png manifest.txt notes.txt"));
    EXPECT_EQ(read_file("p.dat"), read_file("e.dat"));
}

}  // namespace
}  // namespace tvk::test
