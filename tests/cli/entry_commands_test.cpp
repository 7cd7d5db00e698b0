#include <algorithm>

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
    const std::string archive = make_archive({"abc", "Caf\xE9", "a\"b"});
    const RunResult run = tvk({"list", archive});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    // Weights 1, 2, 4, 8: "abc" 0x61 + 0x62 * 2 + 0x63 * 4 = 0x2b1; "Caf\xE9" 0x9e5; "a\"b" 0x22d.
    EXPECT_EQ(run.out, "0\t000002b1\tabc\n1\t000009e5\tCaf\xC3\xA9\n2\t0000022d\ta\"b\n");
}

TEST_F(EntryCommands, ListEscapesControlCharactersAndTheBackslashSoEachLineHasTwoTabs) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"x\x01y", "x\\x01y"},
        {"tab\there", "tab\\x09here"},
        {"two\nlines\r", "two\\x0alines\\x0d"},
        {"back\\slash", "back\\\\slash"},
        {"del\x7F c1\x80\x9F", "del\\x7f c1\\x80\\x9f"},
        {"nbsp\xA0\xFF", "nbsp\xC2\xA0\xC3\xBF"},  // printable: as UTF-8
        {"\x1F\\x41", "\\x1f\\\\x41"},             // not to be read back as "A"
    };
    std::vector<std::string> names;
    for (const auto& [stored, shown] : cases) {
        names.push_back(stored);
    }
    const RunResult run = tvk({"list", make_archive(names)});
    EXPECT_EQ(run.status, 0);
    std::string_view out = run.out;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string_view line = out.substr(0, out.find('\n'));
        out.remove_prefix(std::min(out.size(), line.size() + 1));
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 2) << i;
        EXPECT_EQ(line.substr(line.rfind('\t') + 1), cases[i].second) << i;
    }
    EXPECT_EQ(out, "");
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
    EXPECT_EQ(missing.err,
              "tvk: " + at("missing.dat") + ": Can't open (No such file or directory)\n");
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
    const std::string control =
        "The name may not hold control characters (U+0001 to U+001F, U+007F to U+009F)";
    expect_refusal({"add", archive, "a\tb"}, control);
    expect_refusal({"add", archive, "line\n"}, control);
    expect_refusal({"add", archive, "\x1B[0m"}, control);
    expect_refusal({"insert", archive, "0", "del\x7F"}, control);
    expect_refusal({"rename", archive, "0", "next line \xC2\x85"}, control);
    expect_refusal({"rename", archive, "0", "\xC2\x9F"}, control);
    expect_refusal({"insert", archive, "0", "b"}, "This name make hash collision");
    EXPECT_EQ(tvk({"add", archive, std::string(56, 'n')}).status, 0);
    EXPECT_EQ(tvk({"add", archive, "\x20~\xC2\xA0\xC3\xBF"}).status,
              0);  // the edges of the printable
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

    // A word that is not a command: the nearest command when it is a slip of the fingers, then
    // the one usage line.
    const std::string tvk_usage =
        "Usage: tvk COMMAND ARGUMENTS...\nTry 'tvk --help' for the commands.\n";
    const std::vector<std::pair<std::string, std::string>> mistyped = {
        {"lsit", "; did you mean 'list'?"},
        {"lst", "; did you mean 'list'?"},
        {"LIST", "; did you mean 'list'?"},
        {"improt", "; did you mean 'import'?"},
        {"unpak", "; did you mean 'unpack'?"},
        {"dif", "; did you mean 'diff'?"},
        {"verfy", "; did you mean 'verify'?"},
        {"mvoe", "; did you mean 'move'?"},
        {"rm", ""},
        {"ls", ""},
        {"frobnicate", ""},
        {"d", ""},
    };
    for (const auto& [word, suggestion] : mistyped) {
        const RunResult unknown = tvk({word, archive});
        EXPECT_EQ(unknown.status, 2) << word;
        EXPECT_EQ(unknown.out, "") << word;
        EXPECT_EQ(unknown.err,
                  "tvk: unknown command '" + word + "'" + suggestion + "\n" + tvk_usage);
    }
    EXPECT_EQ(none.err, "tvk: no command given\n" + tvk_usage);
    const RunResult top_option = tvk({"-x", archive});
    EXPECT_EQ(top_option.status, 2);
    EXPECT_EQ(top_option.err, "tvk: unknown option '-x'\n" + tvk_usage);

    const std::string list_usage = "Usage: tvk list ARCHIVE\nTry 'tvk list --help' for more.\n";
    for (const std::string option : {"-x", "--x", "-force", "--verbose=1"}) {
        const RunResult unknown = tvk({"list", option, archive});
        EXPECT_EQ(unknown.status, 2) << option;
        EXPECT_EQ(unknown.err, "tvk: unknown option '" + option + "'\n" + list_usage);
    }

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
    EXPECT_EQ(tvk({"add", at("tvk.dat"), "--", "-x"}).status, 0);
    EXPECT_EQ(tvk({"add", at("tvk.dat"), "-1"}).status, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"-", "--help", "-x", "-1"}));
}

}  // namespace
}  // namespace tvk::test
