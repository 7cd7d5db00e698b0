#include "cli_fixture.h"
#include "entry_editing.h"

namespace tvk::test {
namespace {

class EntryCommands : public CliTest {
  protected:
    // An archive "tvk.dat" of entries named a, b, c... each with a screen of its own.
    std::string make_archive(const std::vector<std::string>& names) {
        EntryStore store;
        for (std::size_t i = 0; i < names.size(); ++i) {
            add_entry(store, names[i], block_of(grid_with_colours(static_cast<int>(i) + 1)));
        }
        write("tvk.dat", archive_bytes(store));
        return at("tvk.dat");
    }
    // Entry names in file order, as tvk list prints them.
    std::vector<std::string> names() {
        std::vector<std::string> result;
        EntryStore store = load(read("tvk.dat"));
        for (std::size_t i = 0; i < store.count(); ++i) {
            result.emplace_back(store.display_name(i));
        }
        return result;
    }
    // A refusal: its exact message, exit 1, nothing written, the archive as it was.
    void expect_refusal(const std::vector<std::string>& arguments, const std::string& message) {
        const std::string before = read("tvk.dat");
        const RunResult run = tvk(arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "tvk: " + message + "\n");
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(read("tvk.dat"), before);
    }
};

TEST_F(EntryCommands, ListPrintsIndexHashAndLatin1NameAsUtf8) {
    const std::string archive = make_archive({"abc", "Caf\xE9", std::string("x\x01y")});
    const RunResult run = tvk({"list", archive});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    // Weights 1, 2, 4, 8: "abc" 0x61 + 0x62 * 2 + 0x63 * 4 = 0x2b1; "Caf\xE9" 0x9e5; "x\x01y"
    // 0x25e.
    EXPECT_EQ(run.out, "0\t000002b1\tabc\n1\t000009e5\tCaf\xC3\xA9\n2\t0000025e\tx\x01y\n");
}

TEST_F(EntryCommands, ListOfAnEmptyArchivePrintsNothing) {
    make_archive({});
    const RunResult run = tvk({"list", at("tvk.dat")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
}

TEST_F(EntryCommands, ArchiveThatCannotBeReadIsReportedInTheSystemsWords) {
    write("text.dat", "just some text, long enough to fill a whole header of 64 bytes.....");
    const RunResult missing = tvk({"list", at("missing.dat")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "tvk: " + at("missing.dat") + ": Can't open\n");
    const RunResult text = tvk({"rename", at("text.dat"), "0", "x"});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.err, "tvk: " + at("text.dat") + ": It's not TVK.DAT\n");
}

TEST_F(EntryCommands, NewWritesTheEmptyArchiveAndReplacesOnlyWithForce) {
    EXPECT_EQ(tvk({"new", at("tvk.dat")}).status, 0);
    EntryStore empty;
    EXPECT_EQ(read("tvk.dat"), archive_bytes(empty));
    EXPECT_EQ(read("tvk.dat").size(), 320u);

    make_archive({"keep"});
    expect_refusal({"new", at("tvk.dat")},
                   at("tvk.dat") + ": The file exists; give --force to replace it");
    EXPECT_EQ(tvk({"new", "--force", at("tvk.dat")}).status, 0);
    EXPECT_EQ(read("tvk.dat"), archive_bytes(empty));
}

TEST_F(EntryCommands, AddAndInsertPutABlankEntryWhereAsked) {
    make_archive({"a", "b"});
    ASSERT_EQ(tvk({"add", at("tvk.dat"), "z"}).status, 0);
    ASSERT_EQ(tvk({"insert", at("tvk.dat"), "0", "first"}).status, 0);
    ASSERT_EQ(tvk({"insert", at("tvk.dat"), "4", "last"}).status, 0);
    ASSERT_EQ(tvk({"insert", at("tvk.dat"), "2", "mid"}).status, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"first", "a", "mid", "b", "z", "last"}));

    // The same edits through the core give the same file, blank all-zero blocks included.
    EntryStore expected;
    for (const char* name : {"first", "a", "mid", "b", "z", "last"}) {
        add_entry(expected, name, ScreenBlock{});
    }
    expected.screen_block(1) = block_of(grid_with_colours(1));
    expected.screen_block(3) = block_of(grid_with_colours(2));
    EXPECT_EQ(read("tvk.dat"), archive_bytes(expected));
}

TEST_F(EntryCommands, AddWithAnImageTakesItsScreen) {
    make_archive({});
    write_picture("pic.png", kScreenWidth, kScreenHeight, source_of(grid_with_colours(63)));
    ASSERT_EQ(tvk({"add", at("tvk.dat"), "pic", at("pic.png")}).status, 0);
    EntryStore expected;
    add_entry(expected, "pic", block_of(grid_with_colours(63)));
    EXPECT_EQ(read("tvk.dat"), archive_bytes(expected));
}

TEST_F(EntryCommands, NamesAreRefusedRatherThanCut) {
    make_archive({"b"});
    const std::string archive = at("tvk.dat");
    expect_refusal({"add", archive, " !"}, "This name make hash collision");
    expect_refusal({"add", archive, std::string(57, 'n')}, "The name is longer than 56 characters");
    expect_refusal({"add", archive, "ab\xC4\x80"},
                   "The name may hold only the characters U+0001 to U+00FF");
    expect_refusal({"add", archive, "ab\xE9"}, "The name is not valid UTF-8");
    expect_refusal({"insert", archive, "0", "b"}, "This name make hash collision");
    EXPECT_EQ(tvk({"add", archive, std::string(56, 'n')}).status, 0);
}

TEST_F(EntryCommands, AddBeyondTheLastEntryThatReadsBackIsRefused) {
    EntryStore store;
    for (std::size_t i = 0; i < kMaxEntries; ++i) {
        add_entry(store, "e" + std::to_string(i), ScreenBlock{});
    }
    write("tvk.dat", archive_bytes(store));
    expect_refusal({"add", at("tvk.dat"), "one more"}, "Too many entries");
}

TEST_F(EntryCommands, RenameKeepsTheScreenAndExcludesTheEntryItself) {
    make_archive({"a", "b"});
    const std::string archive = at("tvk.dat");
    ASSERT_EQ(tvk({"rename", archive, "1", "b"}).status, 0);
    ASSERT_EQ(tvk({"rename", archive, "0", "Caf\xC3\xA9"}).status, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"Caf\xE9", "b"}));
    EXPECT_EQ(screen_of(load(read("tvk.dat")).screen_block(0)), grid_with_colours(1));
    expect_refusal({"rename", archive, "0", " !"}, "This name make hash collision");
}

TEST_F(EntryCommands, DeleteAndMove) {
    make_archive({"a", "b", "c", "d"});
    const std::string archive = at("tvk.dat");
    ASSERT_EQ(tvk({"move", archive, "0", "2"}).status, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"b", "c", "a", "d"}));
    ASSERT_EQ(tvk({"move", archive, "3", "0"}).status, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"d", "b", "c", "a"}));
    // A moved entry keeps its screen.
    EXPECT_EQ(screen_of(load(read("tvk.dat")).screen_block(0)), grid_with_colours(4));
    ASSERT_EQ(tvk({"delete", archive, "3"}).status, 0);
    ASSERT_EQ(tvk({"delete", archive, "0"}).status, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"b", "c"}));
}

TEST_F(EntryCommands, IndexOutOfRangeNamesTheValidRange) {
    make_archive({"a", "b"});
    const std::string archive = at("tvk.dat");
    expect_refusal({"delete", archive, "2"}, "Index 2 is out of range 0..1");
    expect_refusal({"insert", archive, "3", "x"}, "Index 3 is out of range 0..2");
    expect_refusal({"move", archive, "0", "2"}, "Index 2 is out of range 0..1");
    expect_refusal({"export", archive, "99999999999999999999999", at("x.png")},
                   "Index 99999999999999999999999 is out of range 0..1");
    make_archive({});
    expect_refusal({"rename", archive, "0", "x"},
                   "Index 0 is out of range: the archive has no entries");
}

TEST_F(EntryCommands, UsageErrorsExitWithTwoAndTheUsage) {
    make_archive({"a"});
    const std::string archive = at("tvk.dat");
    const RunResult none = tvk({});
    EXPECT_EQ(none.status, 2);
    EXPECT_EQ(none.out, "");
    EXPECT_NE(none.err.find("Usage: tvk COMMAND"), std::string::npos);

    const RunResult unknown = tvk({"frobnicate"});
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.err.substr(0, 37), "tvk: unknown command 'frobnicate'\nUsa");

    const std::string move_usage =
        "Usage: tvk move ARCHIVE FROM TO\nTry 'tvk move --help' for more.\n";
    const RunResult count = tvk({"move", archive, "0"});
    EXPECT_EQ(count.status, 2);
    EXPECT_EQ(count.err, "tvk: move: wrong number of arguments\n" + move_usage);
    const RunResult not_index = tvk({"move", archive, "0", "-1"});
    EXPECT_EQ(not_index.status, 2);
    EXPECT_EQ(not_index.err, "tvk: '-1' is not an index (0, 1, 2, ...)\n" + move_usage);
    const RunResult option = tvk({"move", "--force", archive, "0", "0"});
    EXPECT_EQ(option.status, 2);
    EXPECT_EQ(option.err, "tvk: unknown option '--force'\n" + move_usage);
}

TEST_F(EntryCommands, HelpAndVersionGoToStandardOutput) {
    const RunResult help = tvk({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.substr(0, 31), "Usage: tvk COMMAND ARGUMENTS...");
    const RunResult add_help = tvk({"add", "--help"});
    EXPECT_EQ(add_help.status, 0);
    EXPECT_EQ(add_help.out.substr(0, 37), "Usage: tvk add ARCHIVE NAME [IMAGE]\n\n");
    const RunResult version = tvk({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "tvk " TVK_TEST_VERSION "\n");
}

TEST_F(EntryCommands, NamesThatLookLikeOptions) {
    make_archive({});
    EXPECT_EQ(tvk({"add", at("tvk.dat"), "-"}).status, 0);
    EXPECT_EQ(tvk({"add", at("tvk.dat"), "--", "--help"}).status, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"-", "--help"}));
}

}  // namespace
}  // namespace tvk::test
