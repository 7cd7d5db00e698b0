#include "cli_fixture.h"
#include "tvk_command.h"

namespace tvk::test {
namespace {

// An entry as the tests write it: a name and the number of colours of its screen (0: blank).
struct Entry {
    std::string name;
    int colours = 0;
};

class DiffCommand : public CliTest {
  protected:
    static EntryStore store_of(const std::vector<Entry>& entries) {
        EntryStore store;
        for (const Entry& entry : entries) {
            add_entry(
                store, entry.name,
                entry.colours == 0 ? ScreenBlock{} : block_of(grid_with_colours(entry.colours)));
        }
        return store;
    }
    RunResult diff(const std::string& old_bytes, const std::string& new_bytes) {
        write("old.dat", old_bytes);
        write("new.dat", new_bytes);
        return tvk({"diff", at("old.dat"), at("new.dat")});
    }
};

TEST_F(DiffCommand, OneLinePerDifferenceByEntry) {
    const std::vector<Entry> base = {{"a", 2}, {"b", 3}, {"c", 4}, {"d", 5}};
    struct Case {
        const char* what;
        std::vector<Entry> after;
        std::string lines;
    };
    const std::vector<Case> cases = {
        {"equal", base, ""},
        {"added at the end", {{"a", 2}, {"b", 3}, {"c", 4}, {"d", 5}, {"e", 6}}, "added 4 \"e\"\n"},
        {"added in front: nothing else moves",
         {{"new", 0}, {"a", 2}, {"b", 3}, {"c", 4}, {"d", 5}},
         "added 0 \"new\"\n"},
        {"removed", {{"b", 3}, {"c", 4}, {"d", 5}}, "removed 0 \"a\"\n"},
        {"moved to the front", {{"d", 5}, {"a", 2}, {"b", 3}, {"c", 4}}, "moved 3 -> 0 \"d\"\n"},
        {"moved to the end", {{"b", 3}, {"c", 4}, {"d", 5}, {"a", 2}}, "moved 0 -> 3 \"a\"\n"},
        {"neighbours swapped", {{"b", 3}, {"a", 2}, {"c", 4}, {"d", 5}}, "moved 0 -> 1 \"a\"\n"},
        {"renamed", {{"a", 2}, {"B", 3}, {"c", 4}, {"d", 5}}, "renamed 1 -> 1 \"b\" -> \"B\"\n"},
        {"screen changed",
         {{"a", 2}, {"b", 3}, {"c", 9}, {"d", 5}},
         "screen changed 2 -> 2 \"c\"\n"},
        {"renamed and moved",
         {{"D", 5}, {"a", 2}, {"b", 3}, {"c", 4}},
         "moved 3 -> 0 \"D\"\nrenamed 3 -> 0 \"d\" -> \"D\"\n"},
        {"renamed with a new screen: told apart only as removed and added",
         {{"a", 2}, {"B", 7}, {"c", 4}, {"d", 5}},
         "removed 1 \"b\"\nadded 1 \"B\"\n"},
        {"a bit of everything",
         {{"c", 8}, {"a", 2}, {"x", 0}, {"dee", 5}},
         "removed 1 \"b\"\nscreen changed 2 -> 0 \"c\"\nmoved 0 -> 1 \"a\"\nadded 2 \"x\"\n"
         "renamed 3 -> 3 \"d\" -> \"dee\"\n"},
        {"names quoted as in the manifest",
         {{"a", 2}, {"b\"\\\t", 3}, {"c", 4}, {"d", 5}},
         "renamed 1 -> 1 \"b\" -> \"b\\\"\\\\\\x09\"\n"},
    };
    EntryStore base_store = store_of(base);
    const std::string before = archive_bytes(base_store);
    for (const Case& c : cases) {
        EntryStore after = store_of(c.after);
        const RunResult run = diff(before, archive_bytes(after));
        EXPECT_EQ(run.out, c.lines) << c.what;
        EXPECT_EQ(run.status, c.lines.empty() ? 0 : 1) << c.what;
        EXPECT_EQ(run.err, "") << c.what;
    }
}

TEST_F(DiffCommand, EqualNamesPairInOrderAndAScreenPairsOnlyWhenNoOtherEntryHasIt) {
    const struct {
        std::vector<Entry> before;
        std::vector<Entry> after;
        std::string lines;
    } cases[] = {
        {{{"same", 0}, {"same", 0}, {"b", 0}},
         {{"same", 0}, {"same", 3}, {"c", 0}},
         "screen changed 1 -> 1 \"same\"\nrenamed 2 -> 2 \"b\" -> \"c\"\n"},
        {{{"b", 0}, {"e", 0}},
         {{"c", 0}, {"f", 0}},
         "removed 0 \"b\"\nremoved 1 \"e\"\nadded 0 \"c\"\nadded 1 \"f\"\n"},
        {{{"b", 2}, {"e", 2}, {"x", 3}},
         {{"c", 2}, {"x", 3}},
         "removed 0 \"b\"\nremoved 1 \"e\"\nadded 0 \"c\"\n"},
    };
    for (const auto& c : cases) {
        EntryStore before = store_of(c.before);
        EntryStore after = store_of(c.after);
        const RunResult run = diff(archive_bytes(before), archive_bytes(after));
        EXPECT_EQ(run.out, c.lines);
        EXPECT_EQ(run.status, 1);
    }
}

TEST_F(DiffCommand, ComparesEntriesNotFiles) {
    EntryStore store = store_of({{"a", 2}, {"b", 3}});
    const std::string file = archive_bytes(store);
    std::string other = file + "trailing bytes";
    set_stored_checksum(other, 256, 64, 0x12345678);  // a wrong record checksum
    RunResult run = diff(file, other);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.status, 0);

    // What the manifest keeps beside name and screen counts: the record's bytes 60-63 and the
    // bytes after a name's terminator.
    store.name_buffer(0)[60] = 0x01;
    store.name_buffer(1)[kNameOffset + 2] = 'x';
    run = diff(file, archive_bytes(store));
    EXPECT_EQ(run.out,
              "record changed 0 -> 0 \"a\" 68280000 -> 01280000\n"
              "renamed 1 -> 1 \"b\" -> \"b\\x00x\"\n");
    EXPECT_EQ(run.status, 1);
}

TEST_F(DiffCommand, AnEmptyFileIsAnArchiveWithoutEntries) {
    EntryStore store = store_of({{"a", 2}, {"b", 0}});
    write("tvk.dat", archive_bytes(store));
    write("empty", "");
    RunResult run = tvk({"diff", at("empty"), at("tvk.dat")});
    EXPECT_EQ(run.out, "added 0 \"a\"\nadded 1 \"b\"\n");
    EXPECT_EQ(run.status, 1);
    run = tvk({"diff", at("tvk.dat"), "/dev/null"});
    EXPECT_EQ(run.out, "removed 0 \"a\"\nremoved 1 \"b\"\n");
    EXPECT_EQ(run.status, 1);
    run = tvk({"diff", at("empty"), "/dev/null"});
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.status, 0);
}

TEST_F(DiffCommand, TroubleExitsWithTwo) {
    EntryStore store = store_of({{"a", 2}});
    write("tvk.dat", archive_bytes(store));
    write("text.dat", std::string(100, 't'));
    const std::string archive = at("tvk.dat");
    const struct {
        std::vector<std::string> arguments;
        std::string err;
    } cases[] = {
        {{"diff", archive, at("missing.dat")},
         "tvk: " + at("missing.dat") + ": Can't open (No such file or directory)\n"},
        {{"diff", at("missing.dat"), archive},
         "tvk: " + at("missing.dat") + ": Can't open (No such file or directory)\n"},
        {{"diff", archive, at("text.dat")}, "tvk: " + at("text.dat") + ": It's not TVK.DAT\n"},
        {{"diff", archive},
         "tvk: diff: wrong number of arguments\nUsage: tvk diff OLD NEW\n"
         "Try 'tvk diff --help' for more.\n"},
        {{"diff", "-q", archive, archive},
         "tvk: unknown option '-q'\nUsage: tvk diff OLD NEW\nTry 'tvk diff --help' for more.\n"},
    };
    for (const auto& c : cases) {
        const RunResult run = tvk(c.arguments);
        EXPECT_EQ(run.status, 2) << c.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.err);
    }
    // Trouble that main finds after the command (output that cannot be written, no memory).
    EXPECT_EQ(trouble_status({"diff", archive, archive}), 2);
    EXPECT_EQ(trouble_status({"list", archive}), 1);
}

}  // namespace
}  // namespace tvk::test
