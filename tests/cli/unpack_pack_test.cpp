#include "cli_fixture.h"
#include "cli_support.h"

namespace tvk::test {
namespace {

namespace fs = std::filesystem;

// Block byte offsets used to plant foreign bytes.
constexpr std::size_t kPalette = 8;
constexpr std::size_t kStream = 264;

class UnpackPack : public CliTest {
  protected:
    // An archive with everything a picture cannot carry, and record checksums that are wrong.
    std::string foreign_archive() {
        EntryStore store;
        add_entry(store, "plain", block_of(grid_with_colours(5)));
        add_entry(store, "odd size", block_of(grid_with_colours(2)));
        const std::uint8_t odd[] = {0x01, 0x02, 0x03, 0x04};
        std::copy(std::begin(odd), std::end(odd), store.name_buffer(1).begin() + 60);

        ScreenBlock junk = block_of(grid_with_colours(3));
        junk[12000] = 0x5A;
        junk[kBlockSize - 1] = 0xA5;
        add_entry(store, "junk after the stream", junk);

        ScreenBlock unused = block_of(grid_with_colours(4));
        unused[kPalette + 4 * 40] = 0x77;     // an entry that no pixel uses
        unused[kPalette + 4 * 1 + 2] = 0x11;  // byte 2 of a used entry
        unused[5] = 0x09;
        add_entry(store, "unused palette", unused);

        // Pixel 0 takes palette entry 0, given a colour of its own: 64 colours on screen.
        ScreenBlock all64 = block_of(grid_with_colours(63));
        all64[kPalette] = 0x42;
        all64[kStream + 1] &= 0xC0;
        add_entry(store, "64 colours", all64);

        add_entry(store, "blank", ScreenBlock{});
        add_entry(store, "q\"b\\s\x01\x7F\x9F\xA0\xFF", block_of(grid_with_colours(6)));
        add_entry(store, std::string("ab\0junk", 7), block_of(grid_with_colours(7)));

        std::string file = archive_bytes(store);
        set_stored_checksum(file, 256, 64, 0x12345678);
        set_stored_checksum(file, 64 * (8 + 5) + 2 * kBlockSize, kBlockSize, 0);
        return file;
    }
    void unpack_foreign() {
        write("tvk.dat", foreign_archive());
        const RunResult run = tvk({"unpack", at("tvk.dat"), at("dir")});
        ASSERT_EQ(run.status, 0) << run.err;
    }
    std::vector<std::string> files_in(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& file : fs::directory_iterator(path(folder))) {
            names.push_back(file.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // Replaces the manifest's entry lines.
    void write_manifest(const std::string& entries) {
        write("dir/manifest.txt", "tvk-manifest 1\n" + entries);
    }
    RunResult pack() { return tvk({"pack", at("dir"), at("packed.dat")}); }
};

TEST_F(UnpackPack, AnUntouchedUnpackPacksBackByteForByte) {
    unpack_foreign();
    EXPECT_EQ(files_in("dir"), (std::vector<std::string>{
                                   "0000.png", "0001.png", "0002.block", "0002.png", "0003.block",
                                   "0003.png", "0004.block", "0004.png", "0005.block", "0005.png",
                                   "0006.png", "0007.png", "manifest.txt"}));
    ASSERT_EQ(pack().status, 0);
    // Only the stored checksums differ from the original: every save recomputes them.
    EXPECT_EQ(read("packed.dat"), resaved(read("tvk.dat")));
    EXPECT_NE(read("packed.dat"), read("tvk.dat"));
}

TEST_F(UnpackPack, ArchivesWhoseNamesShareAHashPackBack) {
    // "b" and " !" share a hash; so do the records that a short file lacks, read as zero file
    // bytes and unscrambled alike. Both kinds are read without complaint, so both must come back.
    EntryStore store;
    add_entry(store, "b", block_of(grid_with_colours(2)));
    add_entry(store, "a", block_of(grid_with_colours(3)));
    add_entry(store, " !", block_of(grid_with_colours(4)));
    add_entry(store, "lost", ScreenBlock{});
    add_entry(store, "lost too", ScreenBlock{});
    const std::string whole = archive_bytes(store);
    const std::size_t two_names = 256 + 2 * 64;
    // The short file last: the checks below look at its manifest.
    for (const std::string& file :
         {whole, whole + "bytes after the last block", whole.substr(0, two_names)}) {
        write("tvk.dat", file);
        fs::remove_all(path("dir"));
        ASSERT_EQ(tvk({"unpack", at("tvk.dat"), at("dir")}).status, 0);
        const RunResult run = pack();
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(read("packed.dat"), resaved(file));
    }
    // The short file: entries 2, 3 and 4 lack their names, and so share one.
    EntryStore packed = load(read("packed.dat"));
    EXPECT_EQ(packed.name_hash(2), packed.name_hash(4));
    EXPECT_NE(
        read("dir/manifest.txt").find("\nshared-hash " + hex_text(packed.name_hash(2), 8) + " 3\n"),
        std::string::npos);

    write("tvk.dat", whole);
    fs::remove_all(path("dir"));
    ASSERT_EQ(tvk({"unpack", at("tvk.dat"), at("dir")}).status, 0);
    EXPECT_NE(read("dir/manifest.txt").find("\nshared-hash 00000062 2\n"), std::string::npos);
    // A new or renamed entry may not make the hash shared once more; lines may move.
    const std::string shared = "tvk-manifest 1\nshared-hash 00000062 2\n";
    const std::string two = "0002.png - - \" !\"\n0000.png - - \"b\"\n";
    write("dir/manifest.txt", shared + two);
    EXPECT_EQ(pack().status, 0);
    // A count below two still lets one entry have the hash.
    write("dir/manifest.txt", "tvk-manifest 1\nshared-hash 00000062 0\n0000.png - - \"b\"\n");
    EXPECT_EQ(pack().status, 0);
    for (const std::string third : {"0001.png - - \"b\"\n", "0003.png - - \" !\"\n"}) {
        write("dir/manifest.txt", shared + two + third);
        const RunResult run = pack();
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err,
                  "tvk: " + at("dir/manifest.txt") + ":5: This name make hash collision\n");
    }
}

TEST_F(UnpackPack, TheFilesAreTheSameOnAnyNumberOfThreads) {
    write("tvk.dat", foreign_archive());
    ASSERT_EQ(tvk({"unpack", "--jobs", "1", at("tvk.dat"), at("one")}).status, 0);
    ASSERT_EQ(tvk({"unpack", "--jobs=5", at("tvk.dat"), at("dir")}).status, 0);
    const std::vector<std::string> files = files_in("dir");
    ASSERT_EQ(files_in("one"), files);
    for (const std::string& file : files) {
        EXPECT_EQ(read("one/" + file), read("dir/" + file)) << file;
    }
    EXPECT_EQ(png_colour_type(read("dir/0000.png")), 3);  // palette pictures
    for (const char* jobs : {"1", "3", "8"}) {
        ASSERT_EQ(tvk({"pack", "--jobs", jobs, at("dir"), at("packed.dat")}).status, 0) << jobs;
        EXPECT_EQ(read("packed.dat"), resaved(read("tvk.dat"))) << jobs;
    }
}

TEST_F(UnpackPack, RgbPicturesPackBackTheSame) {
    write("tvk.dat", foreign_archive());
    ASSERT_EQ(tvk({"unpack", "--rgb", at("tvk.dat"), at("dir")}).status, 0);
    EXPECT_EQ(png_colour_type(read("dir/0000.png")), 2);
    ASSERT_EQ(pack().status, 0);
    EXPECT_EQ(read("packed.dat"), resaved(read("tvk.dat")));
}

TEST_F(UnpackPack, OnlyTheFirstProblemInOrderIsReportedWhateverTheThreads) {
    unpack_foreign();
    write("dir/0001.png", "not a picture");
    fs::remove(path("dir/0006.png"));
    write("packed.dat", "previous");
    for (const char* jobs : {"1", "4"}) {
        const RunResult run = tvk({"pack", "--jobs", jobs, at("dir"), at("packed.dat")});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "tvk: " + at("dir/0001.png") + ": Can't open (Not a picture)\n") << jobs;
        EXPECT_EQ(read("packed.dat"), "previous");
    }
    // A picture unpack cannot write stops it before the manifest, which is written last.
    write("tvk.dat", foreign_archive());
    fs::create_directories(path("out/0003.png"));
    const RunResult run = tvk({"unpack", "--force", "--jobs", "4", at("tvk.dat"), at("out")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tvk: " + at("out/0003.png") + ": Can't save (Is a directory)\n");
    EXPECT_FALSE(fs::exists(path("out/manifest.txt")));
}

TEST_F(UnpackPack, JobsMustBeAPositiveNumber) {
    write("tvk.dat", foreign_archive());
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"unpack", "--jobs", "0", at("tvk.dat"), at("dir")},
             {"pack", "--jobs=x", at("dir"), at("packed.dat")},
             {"sheet", at("tvk.dat"), at("sheet.png"), "--jobs"},
             {"pack", "--rgb", at("dir"), at("packed.dat")},
             {"export", "--jobs", "2", at("tvk.dat"), "0", at("out.png")},
         }) {
        const RunResult run = tvk(arguments);
        EXPECT_EQ(run.status, 2) << arguments[1];
        EXPECT_TRUE(run.err.starts_with("tvk: ")) << run.err;
    }
    EXPECT_FALSE(fs::exists(path("dir")));
}

TEST_F(UnpackPack, TheManifestKeepsNamesAndRecordBytes) {
    unpack_foreign();
    const std::string manifest = read("dir/manifest.txt");
    EXPECT_EQ(manifest.substr(0, 15), "tvk-manifest 1\n");
    for (const std::string line : {
             "0000.png\t68280000\t-\t\"plain\"\n",
             "0001.png\t01020304\t-\t\"odd size\"\n",
             "0002.png\t68280000\t0002.block\t\"junk after the stream\"\n",
             "0005.png\t68280000\t0005.block\t\"blank\"\n",
             "0006.png\t68280000\t-\t\"q\\\"b\\\\s\\x01\\x7f\\x9f\xC2\xA0\xC3\xBF\"\n",
             "0007.png\t68280000\t-\t\"ab\\x00junk\"\n",
         }) {
        EXPECT_NE(manifest.find(line), std::string::npos) << line;
    }
    // A blank block dumps to its explanation alone.
    EXPECT_EQ(read("dir/0005.block").find('\n'), read("dir/0005.block").size() - 1);
}

TEST_F(UnpackPack, AChangedPictureIsImportedInsteadOfItsStoredBlock) {
    unpack_foreign();
    write_picture("dir/0000.png", kScreenWidth, kScreenHeight, source_of(grid_with_colours(11)));
    write_picture("dir/0002.png", kScreenWidth, kScreenHeight, source_of(grid_with_colours(9)));
    ASSERT_EQ(pack().status, 0);
    EntryStore expected = load(read("tvk.dat"));
    expected.screen_block(0) = block_of(grid_with_colours(11));
    expected.screen_block(2) = block_of(grid_with_colours(9));
    EXPECT_EQ(read("packed.dat"), archive_bytes(expected));
}

TEST_F(UnpackPack, APictureThatCannotBeImportedIsNamed) {
    unpack_foreign();
    write("packed.dat", "previous");
    // The 64-colour screen, exported by unpack, edited in one pixel: no longer the stored block.
    Picture picture = read_picture("dir/0004.png");
    write_picture("dir/0004.png", kScreenWidth, kScreenHeight, [&picture](int x, int y) {
        return x == 119 && y == 111 ? 0xFFFFFFFFu : picture.pixel(x, y);
    });
    const RunResult run = pack();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tvk: " + at("dir/0004.png") + ": Image consists more than 63 colors!\n");
    EXPECT_EQ(read("packed.dat"), "previous");
    fs::remove(path("dir/0001.png"));
    EXPECT_EQ(pack().err,
              "tvk: " + at("dir/0001.png") + ": Can't open (No such file or directory)\n");
}

TEST_F(UnpackPack, EditingTheManifestRenamesReordersAddsAndRemoves) {
    EntryStore store;
    for (const char* name : {"a", "b", "c"}) {
        add_entry(store, name, block_of(grid_with_colours(name[0] - 'a' + 2)));
    }
    write("tvk.dat", archive_bytes(store));
    ASSERT_EQ(tvk({"unpack", at("tvk.dat"), at("dir")}).status, 0);
    write_picture("dir/new.png", kScreenWidth, kScreenHeight, source_of(grid_with_colours(20)));
    // Saved by an editor that puts a byte-order mark first.
    write("dir/manifest.txt",
          "\xEF\xBB\xBFtvk-manifest 1\n0002.png 68280000 - \"see\"\r\n# a comment\n\n0000.png\t-\t-"
          "\t\"a\"\nnew.png - - \"n\xC3\xA9w\"\n");
    ASSERT_EQ(pack().status, 0);
    EntryStore expected;
    add_entry(expected, "see", block_of(grid_with_colours(4)));
    add_entry(expected, "a", block_of(grid_with_colours(2)));
    add_entry(expected, "n\xE9w", block_of(grid_with_colours(20)));
    EXPECT_EQ(read("packed.dat"), archive_bytes(expected));
}

TEST_F(UnpackPack, ManifestMistakesAreReportedWithTheirLine) {
    ASSERT_NO_FATAL_FAILURE(unpack_foreign());
    const std::string manifest = at("dir/manifest.txt");
    const auto error_for = [&](const std::string& entries) {
        write_manifest(entries);
        const RunResult run = pack();
        EXPECT_EQ(run.status, 1);
        return run.err;
    };
    EXPECT_EQ(error_for("0000.png - - \"b\"\n0001.png - - \" !\"\n"),
              "tvk: " + manifest + ":3: This name make hash collision\n");
    EXPECT_EQ(
        error_for("0000.png - - \"a\\tb\"\n"),
        "tvk: " + manifest + ":2: the name holds an unknown escape; use \\\\, \\\" or \\xHH\n");
    EXPECT_EQ(error_for("0000.png 6828 - \"a\"\n"),
              "tvk: " + manifest + ":2: the record bytes 60-63 must be 8 hex digits or -\n");
    EXPECT_EQ(error_for("0000.png - - \"\xC4\x80\"\n"),
              "tvk: " + manifest + ":2: The name may hold only the characters U+0001 to U+00FF\n");
    // Names of eleven '0' and '1', the bits of their number: all hashes differ.
    std::string too_many;
    for (std::size_t i = 0; i <= kMaxEntries; ++i) {
        std::string bits;
        for (int bit = 0; bit < 11; ++bit) {
            bits += static_cast<char>('0' + (i >> bit & 1));
        }
        too_many += "0000.png - - \"" + bits + "\"\n";
    }
    EXPECT_EQ(error_for(too_many),
              "tvk: " + manifest + ":" + std::to_string(kMaxEntries + 2) + ": Too many entries\n");
    const std::string blanks = "a file name may not hold blanks (spaces or tabs); rename the file";
    EXPECT_EQ(error_for("my picture.png\t-\t-\t\"a\"\n"),
              "tvk: " + manifest + ":2: " + blanks + "\n");
    EXPECT_EQ(error_for("0000.png\t-\tmy block\t\"a\"\n"),
              "tvk: " + manifest + ":2: " + blanks + "\n");
    EXPECT_EQ(error_for("\"a\"\n"), "tvk: " + manifest + ":2: the entry has no picture file\n");
    EXPECT_EQ(
        error_for("0000.png - \"a\"\n"),
        "tvk: " + manifest +
            ":2: an entry needs a picture, the record bytes 60-63, a block (or -) and a name\n");
    const std::string shared_error =
        ":2: a shared-hash line holds a name hash as 8 hex digits and a number of entries\n";
    EXPECT_EQ(error_for("shared-hash 62 2\n"), "tvk: " + manifest + shared_error);
    EXPECT_EQ(error_for("shared-hash 00000062\n"), "tvk: " + manifest + shared_error);
    EXPECT_EQ(error_for("0000.png - 0009.block \"a\"\n"),
              "tvk: " + at("dir/0009.block") + ": Can't open (No such file or directory)\n");
    write("dir/manifest.txt", "0000.png - - \"a\"\n");
    EXPECT_EQ(pack().err, "tvk: " + manifest +
                              ":1: the manifest must begin with the line \"tvk-manifest 1\"\n");
    fs::remove(path("dir/manifest.txt"));
    EXPECT_EQ(pack().err, "tvk: " + manifest + ": Can't open (No such file or directory)\n");
    EXPECT_FALSE(fs::exists(path("packed.dat")));
}

TEST_F(UnpackPack, FileNamesFollowTheIndexWhateverTheName) {
    EntryStore store;
    for (const char* name : {"a/b", "..", "con:", "*?", "", " "}) {
        add_entry(store, name, ScreenBlock{});
    }
    write("tvk.dat", archive_bytes(store));
    ASSERT_EQ(tvk({"unpack", at("tvk.dat"), at("dir")}).status, 0);
    const std::vector<std::string> files = files_in("dir");
    EXPECT_EQ(files.size(), 6u * 2 + 1);
    EXPECT_EQ(files[10], "0005.block");
    EXPECT_EQ(files[11], "0005.png");
}

TEST_F(UnpackPack, UnpackWritesIntoAFolderThatHoldsFilesOnlyWithForce) {
    write("tvk.dat", foreign_archive());
    fs::create_directory(path("dir"));
    write("dir/0000.png", "edited");
    const RunResult run = tvk({"unpack", at("tvk.dat"), at("dir")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "tvk: " + at("dir") + ": The folder is not empty; give --force to write into it\n");
    EXPECT_EQ(read("dir/0000.png"), "edited");
    ASSERT_EQ(tvk({"unpack", "--force", at("tvk.dat"), at("dir")}).status, 0);
    ASSERT_EQ(pack().status, 0);
    EXPECT_EQ(read("packed.dat"), resaved(read("tvk.dat")));
    EXPECT_EQ(tvk({"unpack", at("tvk.dat"), at("tvk.dat")}).err,
              "tvk: " + at("tvk.dat") + ": Not a folder\n");
}

}  // namespace
}  // namespace tvk::test
