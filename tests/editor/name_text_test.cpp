#include "name_text.h"

#include <gtest/gtest.h>

#include "record.h"

namespace tvk {
namespace {

std::string name_bytes(const NameRecord& record) {
    std::string bytes(record.bytes.begin() + kNameOffset, record.bytes.begin() + kDataSizeOffset);
    return bytes.substr(0, bytes.find('\0'));
}

TEST(BuildNameRecord, StoresTheNameTheDataSizeAndZerosAfterIt) {
    const NameRecord record = build_name_record(u"abc");

    EXPECT_EQ(name_bytes(record), "abc");
    for (std::size_t i = kNameOffset + 3; i < kDataSizeOffset; ++i) {
        EXPECT_EQ(record.bytes[i], 0) << i;
    }
    EXPECT_EQ(read_u16(record.bytes.data() + kDataSizeOffset), 10344);
    EXPECT_EQ(record.bytes[62], 0);
    EXPECT_EQ(record.bytes[63], 0);
    EXPECT_EQ(record.hash, 689u);
}

TEST(BuildNameRecord, HashesTheNameAlone) {
    EXPECT_EQ(build_name_record(u"").hash, 0u);
    EXPECT_EQ(build_name_record(u"b").hash, 98u);
    EXPECT_EQ(build_name_record(u" !").hash, 98u);
    const NameRecord record = build_name_record(u"some name");
    EXPECT_EQ(record.hash, record_checksum(record.bytes.data(), kRecordChecksumEnd));
}

TEST(BuildNameRecord, TheFirstCharacterAboveFFEndsTheName) {
    EXPECT_EQ(name_bytes(build_name_record(u"ab\u0100cd")), "ab");
    EXPECT_EQ(build_name_record(u"ab\u0100cd").bytes, build_name_record(u"ab").bytes);
    // A surrogate pair is two characters above U+00FF.
    EXPECT_EQ(name_bytes(build_name_record(u"x\U0001F600y")), "x");
    EXPECT_EQ(name_bytes(build_name_record(u"\u00FF\u00E9")), "\xFF\xE9");
}

TEST(BuildNameRecord, KeepsAtMost56Characters) {
    const NameRecord record = build_name_record(std::u16string(60, u'x'));

    EXPECT_EQ(name_bytes(record), std::string(56, 'x'));
    EXPECT_EQ(read_u16(record.bytes.data() + kDataSizeOffset), 10344);
}

TEST(BuildNameRecord, TextEndsAtANul) {
    // Window text never holds a NUL; anything after one must not reach the record or its hash.
    EXPECT_EQ(build_name_record(std::u16string(u"ab\0cd", 5)).bytes,
              build_name_record(u"ab").bytes);
}

TEST(ParseUtf8Name, AcceptsLatin1Text) {
    const ParsedName parsed = parse_utf8_name("caf\xC3\xA9 \xC3\xBF");

    ASSERT_TRUE(parsed.record.has_value()) << parsed.error;
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.record->bytes, build_name_record(u"caf\u00E9 \u00FF").bytes);
    EXPECT_EQ(parsed.record->hash, build_name_record(u"caf\u00E9 \u00FF").hash);
}

TEST(ParseUtf8Name, AcceptsEmptyAnd56Characters) {
    EXPECT_TRUE(parse_utf8_name("").record.has_value());
    std::string longest;
    for (int i = 0; i < 56; ++i) {
        longest += "\xC3\xA9";  // two bytes, one character
    }
    const ParsedName parsed = parse_utf8_name(longest);
    ASSERT_TRUE(parsed.record.has_value()) << parsed.error;
    EXPECT_EQ(name_bytes(*parsed.record), std::string(56, '\xE9'));
}

TEST(ParseUtf8Name, RefusesWhatCannotBeStored) {
    const std::vector<std::string> refused = {
        std::string(57, 'x'),
        std::string("a\0b", 3),
        "\xC4\x80",          // U+0100
        "ab\xE2\x82\xAC",    // the euro sign
        "\xF0\x9F\x98\x80",  // outside the basic plane
        "\x80",              // a continuation byte alone
        "\xC3",              // cut short
        "\xC3(",             // a lead byte without its continuation
        "\xC0\xA9",          // an overlong form of U+0029
        "\xE0\x80\x80",      // an overlong form of U+0000
        "\xED\xA0\x80",      // a surrogate
        "\xF8\x88\x80\x80\x80",
        "\xFF",
    };
    for (const std::string& name : refused) {
        const ParsedName parsed = parse_utf8_name(name);
        EXPECT_FALSE(parsed.record.has_value()) << ::testing::PrintToString(name);
        EXPECT_FALSE(parsed.error.empty()) << ::testing::PrintToString(name);
    }
}

TEST(NameText, EveryByteWidensToTheCharacterOfTheSameValueAndBackToUtf8) {
    std::string all;
    for (int byte = 1; byte <= 0xFF; ++byte) {
        all += static_cast<char>(byte);
    }
    for (std::size_t at = 0; at < all.size(); at += kNameLength) {
        const std::string name = all.substr(at, kNameLength);
        const std::u16string wide = widen_name(name.c_str());
        ASSERT_EQ(wide.size(), name.size());
        for (std::size_t i = 0; i < name.size(); ++i) {
            EXPECT_EQ(wide[i], static_cast<unsigned char>(name[i]));
        }
        const ParsedName back = parse_utf8_name(name_to_utf8(name.c_str()));
        ASSERT_TRUE(back.record.has_value()) << back.error;
        EXPECT_EQ(name_bytes(*back.record), name);
    }
    EXPECT_EQ(name_to_utf8("\xE9t\xE9"), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(widen_name(""), u"");
}

}  // namespace
}  // namespace tvk
