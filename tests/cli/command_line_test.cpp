#include <sys/wait.h>

#include <cstdlib>

#include "cli_test.h"

namespace tvk::test {
namespace {

using CommandLine = CliTest;

// Wrong usage: the message, then the usage line of the command `synopsis` shows, or of tvk.
Row wrong(const std::string& line, const std::string& message, const std::string& synopsis = "") {
    const std::string name = synopsis.substr(0, synopsis.find(' '));
    return {words(line), 2, "",
            "tvk: " + message + "\n" +
                (synopsis.empty()
                     ? "Usage: tvk COMMAND ARGUMENTS...\nTry 'tvk --help' for the commands.\n"
                     : "Usage: tvk " + synopsis + "\nTry 'tvk " + name + " --help' for more.\n")};
}

TEST_F(CommandLine, WrongUsageExitsWithTwoAndTheUsageLine) {
    // clang-format off
    check({
        wrong("", "no command given"),
        wrong("LIST", "unknown command 'LIST'; did you mean 'list'?"),
        wrong("unpak", "unknown command 'unpak'; did you mean 'unpack'?"),
        wrong("ls", "unknown command 'ls'"),
        wrong("-x a.dat", "unknown option '-x'"),
        wrong("list -x a.dat", "unknown option '-x'", "list ARCHIVE"),
        wrong("export --jobs 2 a.dat 0 x.png", "unknown option '--jobs'", "export ARCHIVE INDEX PNG [--rgb]"),
        wrong("move a.dat 0", "move: wrong number of arguments", "move ARCHIVE FROM TO"),
        wrong("add a.dat n p.png more", "add: wrong number of arguments", "add ARCHIVE NAME [IMAGE]"),
        wrong("move a.dat 0 -1", "'-1' is not an index (0, 1, 2, ...)", "move ARCHIVE FROM TO"),
        wrong("unpack --jobs 0 a.dat d", "'0' is not a number of threads (1 to 256)", "unpack ARCHIVE DIR [--force] [--rgb] [--jobs N]"),
        wrong("unpack --jobs=257 a.dat d", "'257' is not a number of threads (1 to 256)", "unpack ARCHIVE DIR [--force] [--rgb] [--jobs N]"),
        wrong("unpack a.dat d --jobs", "--jobs needs a number of threads", "unpack ARCHIVE DIR [--force] [--rgb] [--jobs N]"),
        ok("--help", "Usage: tvk COMMAND ARGUMENTS...\nEdits a screen archive (TVK.DAT) from the command line.\n\nCommands:\n"
                     "  list ARCHIVE                        one line per entry: index, name hash, name\n*"),
        ok("add --help", "Usage: tvk add ARCHIVE NAME [IMAGE]\n\nAdds an entry at the end*"),
        ok("unpack d -h", "Usage: tvk unpack ARCHIVE DIR [--force] [--rgb] [--jobs N]\n\n*"),
        ok("--version", "tvk " TVK_TEST_VERSION "\n"),
    });
    // clang-format on
    EXPECT_EQ(m_folder.file_names(), std::vector<std::string>{});
}

TEST_F(CommandLine, EditsAndTheirRefusals) {
    // clang-format off
    check({
        on("a.dat", archive_with("a2 c3"), ok("add a.dat z")),
        ok("insert a.dat 3 last"),
        ok("insert a.dat 1 mid"),            // a mid c z last
        ok("rename a.dat 0 Caf\xC3\xA9"),
        ok("move a.dat 0 2"),                // mid c Café z last
        ok("delete a.dat 4"),
        on("pic.png", png_of(picture_of(grid_with_colours(7))), ok("import a.dat 1 pic.png")),
        ok("add a.dat -- -x pic.png"),
        ok("add a.dat -"),
        ok("list a.dat", "0\t000002cf\tmid\n1\t00000063\tc\n2\t000009e5\tCaf\xC3\xA9\n3\t0000007a\tz\n"
                         "4\t0000011d\t-x\n5\t0000002d\t-\n"),
        fails("add a.dat !!", "This name make hash collision"),
        fails("rename a.dat 0 !!", "This name make hash collision"),
        fails("add a.dat a\x1F", "The name may not hold control characters (U+0001 to U+001F, U+007F to U+009F)"),
        fails("delete a.dat 6", "Index 6 is out of range 0..5"),
        fails("insert a.dat 7 x", "Index 7 is out of range 0..6"),
        fails("move a.dat 0 6", "Index 6 is out of range 0..5"),
        fails("move a.dat 6 0", "Index 6 is out of range 0..5"),
        fails("export a.dat 18446744073709551616 x.png", "Index 18446744073709551616 is out of range 0..5"),
        fails("new a.dat", "a.dat: The file exists; give --force to replace it"),
        fails("list missing.dat", "missing.dat: Can't open (No such file or directory)"),
        on("t.dat", std::string(99, 't'), fails("rename t.dat 0 x", "t.dat: It's not TVK.DAT")),
        ok("new --force t.dat"),
        fails("rename t.dat 0 x", "Index 0 is out of range: the archive has no entries"),
        on("n.dat", archive_with("\x01" "0 \n0 \x1F" "0 ~0 \\0 \x7F" "0 \x9F" "0 \xA0" "0"),
           ok("list n.dat", "0\t00000001\t\\x01\n1\t0000000a\t\\x0a\n2\t0000001f\t\\x1f\n3\t0000007e\t~\n4\t0000005c\t\\\\\n"
                            "5\t0000007f\t\\x7f\n6\t0000009f\t\\x9f\n7\t000000a0\t\xC2\xA0\n")),
    });
    EXPECT_EQ(read_file("a.dat"), archive_with("mid0 c7 Caf\xE9" "2 z0 -x7 -0"));
    // clang-format on
}

TEST_F(CommandLine, VerifyAndInfoReportWhatTheReaderPassesOver) {
    const std::string whole = archive_with("a3 b5");
    std::string checksums = whole;
    set_stored_checksum(checksums, 256 + 64, 64, 0xDEADBEEF);
    checksums[448 + kBlockSize + kUsedBlockSize + 100] ^= 1;  // a block's unused tail counts too
    std::string header = whole;
    header[30] = static_cast<char>(header[30] ^ 1);
    const auto verify = [](const std::string& bytes, const std::string& out) {
        return on("v.dat", bytes, {{"verify", "v.dat"}, out.empty() ? 0 : 1, out});
    };
    // clang-format off
    check({
        verify(whole, ""),
        verify(checksums, "name record 1: stored checksum deadbeef, correct 00000062\nscreen block 1: stored checksum 0343cb81, correct 03444b81\n"),
        verify(whole.substr(0, 448 + kBlockSize + 100), "screen block 1: cut short, only 100 of 16384 bytes are in the file\n"),
        verify(whole.substr(0, 300), "name record 0: cut short, only 44 of 64 bytes are in the file\nname record 1: missing, the file ends at byte 300\n"
                                     "screen block 0: missing, the file ends at byte 300\nscreen block 1: missing, the file ends at byte 300\n"),
        verify(whole.substr(0, 63), "header: the file is 63 bytes long, shorter than the 64-byte header\n"),
        verify(header, "header: stored checksum 7b579d78, correct 7b579d7a\n"),
        fails("info v.dat", "v.dat: It's not TVK.DAT"),
        verify(stored_record(plain_header(65536)), "header: announces 65536 entries, more than a file of 64 bytes can stand for\n"),
        verify(header_only_archive(kMaxEntries), "name record 0: missing, the file ends at byte 64\n*"),
        verify(header_only_archive(kMaxEntries + 1), "header: the archive holds 1019 entries, more than 1018; readers of the format read only 1018 entries correctly\nname record 0: missing*"),
        ok("info v.dat", "header checksum:   0x7b522cf8\nfirst magic:       0x55becfaa\nsecond magic:      0xaafceb55\n"
                         "signature:         CSZ_RK02V100\nname area offset:  256\nscreen size:       120 x 112\n"
                         "block size:        16384\nentry count:       1019\nblock area offset: 65536\nentries read:      1019\n"
                         "file size:         64 bytes, the header implies 16760832\nnote:              the archive holds 1019 entries, "
                         "more than 1018; readers of the format read only 1018 entries correctly\n"),
        fails("info missing.dat", "missing.dat: Can't open (No such file or directory)"),
    });
    // clang-format on
}

TEST_F(CommandLine, DiffPrintsOneLinePerDifferenceByEntryAndExitsWithTwoOnTrouble) {
    const std::string base = "a2 b3 c4 d5";
    const std::string cases[][3] = {
        // clang-format off
        {base, "new0 a2 b3 c4 d5", "added 0 \"new\"\n"},  // nothing else moves
        {base, "D5 a2 b3 c4", "moved 3 -> 0 \"D\"\nrenamed 3 -> 0 \"d\" -> \"D\"\n"},
        {base, "a2 B7 c4 d5", "removed 1 \"b\"\nadded 1 \"B\"\n"},
        {base, "c8 a2 x0 dee5", "removed 1 \"b\"\nscreen changed 2 -> 0 \"c\"\nmoved 0 -> 1 \"a\"\nadded 2 \"x\"\nrenamed 3 -> 3 \"d\" -> \"dee\"\n"},
        {base, "a2 b\"\\\t3 c4 d5", "renamed 1 -> 1 \"b\" -> \"b\\\"\\\\\\x09\"\n"},
        // Equal names pair in order; a screen pairs only when no other entry has it.
        {"s0 s0 b0", "s0 s3 c0", "screen changed 1 -> 1 \"s\"\nrenamed 2 -> 2 \"b\" -> \"c\"\n"},
        {"b2 e2 x3", "c2 x3", "removed 0 \"b\"\nremoved 1 \"e\"\nadded 0 \"c\"\n"},
        {"s2 s3", "s3", "removed 0 \"s\"\n"},
        {"b2 x3", "c2 e2 x3", "removed 0 \"b\"\nadded 0 \"c\"\nadded 1 \"e\"\n"},
        // clang-format on
    };
    for (const auto& [before, after, lines] : cases) {
        write_file("a.dat", archive_with(before));
        check({on("b.dat", archive_with(after), {words("diff a.dat b.dat"), 1, lines})});
    }
    write_file("a.dat", archive_with(base));
    EntryStore store = load(archive_with(base));
    std::string other = archive_bytes(store) + "trailing bytes";
    set_stored_checksum(other, 256, 64, 0x12345678);
    // What the manifest keeps beside name and screen: the record's bytes 60-63 and the bytes
    // after a name's terminator.
    store.name_buffer(0)[60] = 0x01;
    store.name_buffer(1)[kNameOffset + 2] = 'x';
    // clang-format off
    check({
        on("b.dat", other, ok("diff a.dat b.dat")),
        on("b.dat", archive_bytes(store), {words("diff a.dat b.dat"), 1, "record changed 0 -> 0 \"a\" 68280000 -> 01280000\nrenamed 1 -> 1 \"b\" -> \"b\\x00x\"\n"}),
        on("empty", "", {words("diff empty b.dat"), 1, "added 0 \"a\"\nadded 1 \"b\\x00x\"\nadded 2 \"c\"\nadded 3 \"d\"\n"}),
        {words("diff a.dat /dev/null"), 1, "removed 0 \"a\"\nremoved 1 \"b\"\nremoved 2 \"c\"\nremoved 3 \"d\"\n"},
        fails("diff a.dat missing.dat", "missing.dat: Can't open (No such file or directory)", 2),
        fails("diff /dev/zero a.dat", "/dev/zero: Can't open (Not a regular file)", 2),
    });
    // clang-format on
}

// Every command that writes, refused the save: its file and every other as they were.
TEST_F(CommandLine, AFailedSaveIsReportedAndLosesNothing) {
    write_file("a.dat", archive_with("a3 b0"));
    write_file("out.png", png_of(picture_of(grid_with_colours(4))));
    std::filesystem::create_directory("d");
    write_file("d/manifest.txt", "tvk-manifest 1\n../out.png - - \"x\"\n");
    FileOps failing = real_file_ops();
    failing.replace = [](const std::filesystem::path&, const std::filesystem::path&, bool) {
        return std::make_error_code(std::errc::io_error);
    };
    failing.create_in_place = [](const std::filesystem::path&, OpenFile&) {
        return std::make_error_code(std::errc::io_error);
    };
    const std::string reason = ": Can't save (Input/output error)";
    // clang-format off
    check({fails("add a.dat new", "a.dat" + reason), fails("delete a.dat 0", "a.dat" + reason),
           fails("export a.dat 0 out.png", "out.png" + reason), fails("sheet a.dat out.png", "out.png" + reason),
           fails("pack d a.dat", "a.dat" + reason), fails("unpack --force a.dat d", "d/0000.png" + reason)}, failing);
    // clang-format on
    EXPECT_EQ(read_file("a.dat"), archive_with("a3 b0"));
    EXPECT_EQ(read_file("out.png"), png_of(picture_of(grid_with_colours(4))));
    EXPECT_EQ(m_folder.file_names(), words("a.dat d out.png"));
    EXPECT_EQ(file_names("d"), words("manifest.txt"));
}

// Each in a process of its own: the folder's lock keeps every entry. The program itself runs
// here, once: output it cannot write is trouble, 2 for diff.
TEST_F(CommandLine, ConcurrentAddsEachKeepTheirEntryAndUnwrittenOutputIsTrouble) {
    write_file("a.dat", archive_with("a3 b0"));
    const std::string tvk = TVK_BINARY;
    ASSERT_EQ(
        std::system(("for i in $(seq 20); do " + tvk + " add a.dat e$i & done; wait").c_str()), 0);
    EXPECT_EQ(load(read_file("a.dat")).count(), 22u);
    EXPECT_EQ(m_folder.file_names(), words("a.dat"));
    // A difference whose lines cannot be written: trouble, not "different".
    EXPECT_EQ(WEXITSTATUS(std::system((tvk + " diff a.dat /dev/null >/dev/full 2>err").c_str())),
              2);
    EXPECT_EQ(read_file("err"), "tvk: Can't write the output\n");
    EXPECT_EQ(trouble_status(words("list a.dat")), 1);
}

}  // namespace
}  // namespace tvk::test
