#include "block_dump.h"
#include "cli_fixture.h"
#include "name_quoting.h"

namespace tvk::test {
namespace {

std::array<std::uint8_t, kNameLength> field_of(const std::string& bytes) {
    std::array<std::uint8_t, kNameLength> field{};
    std::copy(bytes.begin(), bytes.end(), field.begin());
    return field;
}

// The field read back from its quoted text, or the error.
std::string round_trip(const std::string& bytes) {
    const auto field = field_of(bytes);
    const std::string text = quote_name_field(field.data()) + " rest";
    const UnquotedName name = unquote_name_field(text);
    if (!name.error.empty()) {
        return "error: " + name.error;
    }
    EXPECT_EQ(name.rest, " rest");
    return std::string(name.record.bytes.begin() + kNameOffset, name.record.bytes.begin() + 60);
}

TEST(NameQuoting, EveryByteAndZerosInsideTheFieldSurviveTheRoundTrip) {
    for (int byte = 1; byte <= 0xFF; ++byte) {
        const std::string bytes = {static_cast<char>(byte), 'x', static_cast<char>(byte)};
        const auto field = field_of(bytes);
        EXPECT_EQ(round_trip(bytes), std::string(field.begin(), field.end())) << byte;
    }
    for (const std::string& bytes : {std::string("ab\0\0cd", 6), std::string(56, '\xFF'),
                                     std::string("\0x", 2), std::string(55, 'n') + '\0'}) {
        const auto field = field_of(bytes);
        EXPECT_EQ(round_trip(bytes), std::string(field.begin(), field.end()));
    }
}

TEST(NameQuoting, MalformedNamesAreRefused) {
    const auto error_of = [](std::string_view text) { return unquote_name_field(text).error; };
    EXPECT_EQ(error_of("abc"), "the name must be in double quotes");
    EXPECT_EQ(error_of("\"abc"), "the name has no closing quote");
    EXPECT_EQ(error_of("\"a\\x4\""), "the name holds an unknown escape; use \\\\, \\\" or \\xHH");
    EXPECT_EQ(error_of("\"a\\"), "the name holds an unknown escape; use \\\\, \\\" or \\xHH");
    EXPECT_EQ(error_of("\"" + std::string(30, 'a') + "\\x00" + std::string(26, 'b') + "\""),
              "The name is longer than 56 characters");
    EXPECT_EQ(error_of("\"" + std::string(30, 'a') + "\\x00" + std::string(25, 'b') + "\""), "");
}

TEST(BlockDump, MalformedRowsAreRefusedWithTheirLine) {
    const std::string row = std::string(64, '0');
    ScreenBlock block{};
    EXPECT_EQ(parse_block_dump("# c\n0010 " + row + "\n", block),
              "line 2: the offset must be a multiple of 32 (hex 20) below 16384 (hex 4000)");
    EXPECT_EQ(parse_block_dump("4000 " + row, block),
              "line 1: the offset must be a multiple of 32 (hex 20) below 16384 (hex 4000)");
    EXPECT_EQ(parse_block_dump("0020 " + row + "\n0020 " + row, block),
              "line 2: this row's offset was given before");
    EXPECT_EQ(parse_block_dump("0020 " + row.substr(2), block),
              "line 1: a row holds 32 bytes as 64 hex digits");
    EXPECT_EQ(parse_block_dump("20 " + row, block),
              "line 1: a row begins with its offset as 4 hex digits");
    EXPECT_EQ(parse_block_dump("\r\n0020 " + row + "\r\n", block), "");
}

}  // namespace
}  // namespace tvk::test
