// The rules below the window: name records from text, moving entries, the editor's command line.
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "builders.h"
#include "entry_editing.h"
#include "name_text.h"
#include "record.h"
#include "start_arguments.h"

namespace tvk::test {
namespace {

TEST(NameText, TextBecomesARecordOfLatin1BytesAndItsHash) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"\u00FF\u00E9", "\xFF\xE9"},
        {u"ab\u0100cd", "ab"},
        {std::u16string(u"ab\0cd", 5), "ab"},
        {std::u16string(57, u'x'), std::string(56, 'x')}};
    for (const auto& [text, stored] : cases) {
        std::array<std::uint8_t, kRecordLength> expected{};
        std::copy(stored.begin(), stored.end(), expected.begin() + kNameOffset);
        write_u16(expected.data() + kDataSizeOffset, 10344);
        const NameRecord record = build_name_record(text);
        EXPECT_EQ(record.bytes, expected) << stored;
        EXPECT_EQ(record.hash, record_checksum(expected.data(), kRecordChecksumEnd)) << stored;
    }
}

TEST(NameText, Utf8NamesAreTakenWholeOrRefusedWithTheReason) {
    for (const char* utf8 : {"\x80", "\xC3(", "\xC0\xA9", "\xE0\x80\x80", "\xE0\x83\xA9", "\xED\xA0\x80",
                             "\xF4\x90\x80\x80", "\xF8\x88\x80\x80\x80"}) {
        EXPECT_EQ(parse_utf8_name(utf8).error, "The name is not valid UTF-8") << utf8;
    }
    using namespace std::literals;
    for (const std::string& utf8 : {"\xC4\x80"s, "\xF0\x9F\x98\x80"s, "a\0b"s}) {
        EXPECT_EQ(parse_utf8_name(utf8).error,
                  "The name may hold only the characters U+0001 to U+00FF");
    }
    EXPECT_EQ(parse_utf8_name(std::string(57, 'x')).error, "The name is longer than 56 characters");
    EXPECT_EQ(parse_utf8_name("caf\xC3\xA9 \xC3\xBF").record->bytes,
              build_name_record(u"caf\u00E9 \u00FF").bytes);
    EXPECT_EQ(parse_utf8_name(name_to_utf8(std::string(56, '\xE9').c_str())).record->bytes,
              build_name_record(std::u16string(56, u'\u00E9')).bytes);
    // A stored name of 56 bytes has no NUL: what follows it is not part of it.
    EXPECT_EQ(widen_name((std::string(56, 'x') + "h(").c_str()), std::u16string(56, u'x'));
    EXPECT_EQ(widen_name("\x01\x7F\xE9\xFF"), u"\u0001\u007F\u00E9\u00FF");
    EXPECT_EQ(name_to_utf8("\x01\x7F\xE9\xFF"), "\x01\x7F\xC3\xA9\xC3\xBF");
}

TEST(EntryEditing, MoveEntryShiftsTheEntriesBetween) {
    EntryStore store = numbered_store(4);
    std::string orders;
    for (const auto& [from, to] : {std::pair<std::size_t, std::size_t>{0, 2}, {3, 0}, {1, 1}}) {
        move_entry(store, from, to);
        for (std::size_t i = 0; i < 4; ++i) {
            orders += stored_name(store, i).back();
        }
    }
    EXPECT_EQ(orders, "120331203120");
}

TEST(StartArguments, NameAnArchiveOrAskForHelpOrTheVersion) {
    // The arguments | the action (0 window, 1 help, 2 version, 3 refused), the archive, the
    // problem.
    for (const std::string row :
         {"|0 ", "TVK.DAT|0 TVK.DAT", "--help|1 ", "-h|1 ", "TVK.DAT --version|2 ",
          "--bogus --help|1 ", "-- --help|0 --help", "-|0 -", "--bogus|3 unknown option '--bogus'",
          "a.dat b.dat|3 one archive at most"}) {
        std::istringstream words(row.substr(0, row.find('|')));
        const StartArguments read =
            read_start_arguments({std::istream_iterator<std::string>(words), {}});
        const std::string action = std::to_string(static_cast<int>(read.action));
        EXPECT_EQ(action + " " + read.archive.value_or("") + read.problem,
                  row.substr(row.find('|') + 1))
            << row;
    }
}

}  // namespace
}  // namespace tvk::test
