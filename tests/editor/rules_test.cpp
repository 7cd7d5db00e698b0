// The rules below the window: name records from text, moving entries, the editor's command line.
#include <gtest/gtest.h>

#include <cstring>

#include "builders.h"
#include "entry_editing.h"
#include "name_text.h"
#include "record.h"
#include "start_arguments.h"

namespace tvk::test {
namespace {

std::string name_of(const NameRecord& record) {
    const auto* name = reinterpret_cast<const char*>(record.bytes.data() + kNameOffset);
    return {name, strnlen(name, kNameLength)};
}

TEST(NameText, TextBecomesARecordOfLatin1BytesAndItsHash) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"abc", "abc"},
        {u"\u00FF\u00E9", "\xFF\xE9"},
        {u"ab\u0100cd", "ab"},
        {u"x\U0001F600y", "x"},
        {std::u16string(u"ab\0cd", 5), "ab"},
        {std::u16string(57, u'x'), std::string(56, 'x')},
    };
    for (const auto& [text, stored] : cases) {
        std::array<std::uint8_t, kRecordLength> expected{};
        std::copy(stored.begin(), stored.end(), expected.begin() + kNameOffset);
        write_u16(expected.data() + kDataSizeOffset, 10344);
        const NameRecord record = build_name_record(text);
        EXPECT_EQ(record.bytes, expected) << stored;
        EXPECT_EQ(record.hash, record_checksum(expected.data(), kRecordChecksumEnd)) << stored;
    }
    EXPECT_EQ(build_name_record(u"abc").hash, 689u);
    EXPECT_EQ(build_name_record(u" !").hash, build_name_record(u"b").hash);
}

TEST(NameText, Utf8NamesAreTakenWholeOrRefusedWithTheReason) {
    const std::string range = "The name may hold only the characters U+0001 to U+00FF";
    const std::string not_utf8 = "The name is not valid UTF-8";
    std::string longest;
    for (int i = 0; i < 56; ++i) {
        longest += "\xC3\xA9";
    }
    const std::pair<std::string, std::string> cases[] = {
        {"caf\xC3\xA9 \xC3\xBF", "caf\xE9 \xFF"},
        {longest, std::string(56, '\xE9')},
        {std::string(57, 'x'), "The name is longer than 56 characters"},
        {std::string("a\0b", 3), range},
        {"\xC4\x80", range},
        {"\xF0\x9F\x98\x80", range},
        {"\x80", not_utf8},
        {"\xC3(", not_utf8},
        {"\xC0\xA9", not_utf8},          // overlong
        {"\xE0\x80\x80", not_utf8},      // overlong
        {"\xED\xA0\x80", not_utf8},      // a surrogate
        {"\xF4\x90\x80\x80", not_utf8},  // beyond U+10FFFF
        {"\xF8\x88\x80\x80\x80", not_utf8},
    };
    for (const auto& [utf8, result] : cases) {
        const ParsedName parsed = parse_utf8_name(utf8);
        EXPECT_EQ(parsed.record ? name_of(*parsed.record) : parsed.error, result) << utf8;
        EXPECT_EQ(parsed.error.empty(), parsed.record.has_value()) << utf8;
    }
    // Every byte widens to the character of its value, up to 56 of them, and comes back through
    // UTF-8.
    for (int first = 1; first < 256; first += 56) {
        std::string name;
        std::u16string wide;
        for (int byte = first; byte < std::min(first + 60, 256); ++byte) {
            name += static_cast<char>(byte);
            wide += static_cast<char16_t>(byte);
        }
        EXPECT_EQ(widen_name(name.c_str()), wide.substr(0, 56)) << first;
        name.resize(std::min<std::size_t>(name.size(), 56));
        EXPECT_EQ(name_of(*parse_utf8_name(name_to_utf8(name.c_str())).record), name) << first;
    }
}

TEST(EntryEditing, MoveEntryShiftsTheEntriesBetween) {
    const std::tuple<std::size_t, std::size_t, std::string> cases[] = {
        {0, 2, "1203"}, {3, 0, "3012"}, {1, 1, "0123"}};
    for (const auto& [from, to, order] : cases) {
        EntryStore store = numbered_store(4);
        move_entry(store, from, to);
        std::string moved;
        for (std::size_t i = 0; i < 4; ++i) {
            moved += stored_name(store, i).back();
        }
        EXPECT_EQ(moved, order) << from << " to " << to;
    }
}
TEST(StartArguments, NameAnArchiveOrAskForHelpOrTheVersion) {
    // The action (0 window, 1 help, 2 version, 3 refused), the archive and the problem.
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{}, "0 "},
        {{"TVK.DAT"}, "0 TVK.DAT"},
        {{"--help"}, "1 "},
        {{"-h"}, "1 "},
        {{"TVK.DAT", "--version"}, "2 "},
        {{"--bogus", "--help"}, "1 "},
        {{"--", "--help"}, "0 --help"},
        {{"-"}, "0 -"},
        {{"--bogus"}, "3 unknown option '--bogus'"},
        {{"a.dat", "b.dat"}, "3 one archive at most"},
    };
    for (const auto& [arguments, expected] : cases) {
        const StartArguments read = read_start_arguments(arguments);
        EXPECT_EQ(std::to_string(static_cast<int>(read.action)) + " " + read.archive.value_or("") +
                      read.problem,
                  expected)
            << testing::PrintToString(arguments);
    }
}

}  // namespace
}  // namespace tvk::test
