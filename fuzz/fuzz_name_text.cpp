// Arbitrary bytes as a name in each of its three forms: window text (UTF-16), a command-line
// argument (UTF-8) and stored name bytes. Every conversion must keep what it is documented to keep,
// and a name accepted from UTF-8 must come back as the same UTF-8.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "name_text.h"
#include "record.h"

namespace {

using namespace tvk;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The name field of a record as a NUL-terminated string.
std::string name_of(const NameRecord& record) {
    char name[kNameLength + 1] = {};
    std::memcpy(name, record.bytes.data() + kNameOffset, kNameLength);
    return name;
}

// A record as build_name_record documents it: name bytes, then zeros, data size 10344, and the
// hash of its bytes 4..59.
void check_record(const NameRecord& record, const std::string& name) {
    check(name.size() <= kNameLength);
    for (std::size_t i = 0; i < kRecordLength; ++i) {
        const bool in_name = i >= kNameOffset && i < kNameOffset + name.size();
        if (i < kNameOffset || (i >= kNameOffset + name.size() && i < kDataSizeOffset)) {
            check(record.bytes[i] == 0);
        } else if (in_name) {
            check(record.bytes[i] != 0);
        }
    }
    check(read_u16(record.bytes.data() + kDataSizeOffset) == kUsedBlockSize);
    check(read_u16(record.bytes.data() + kDataSizeOffset + 2) == 0);
    check(record.hash == record_checksum(record.bytes.data(), kRecordChecksumEnd));
}

void window_text(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    const NameRecord record = build_name_record(text);
    const std::string name = name_of(record);
    check_record(record, name);
    // The name is the text's leading characters up to U+00FF, each as its byte.
    const std::u16string widened = widen_name(name.c_str());
    check(widened.size() == name.size() && text.substr(0, widened.size()) == widened);
    const bool ended_early = widened.size() < text.size();
    check(!ended_early || widened.size() == kNameLength || text[widened.size()] == 0 ||
          text[widened.size()] > 0xFF);
}

void utf8_argument(const std::uint8_t* data, std::size_t size) {
    const std::string utf8(reinterpret_cast<const char*>(data), size);
    const ParsedName parsed = parse_utf8_name(utf8);
    check(parsed.record.has_value() != !parsed.error.empty());
    if (parsed.record) {
        const std::string name = name_of(*parsed.record);
        check_record(*parsed.record, name);
        check(name_to_utf8(name.c_str()) == utf8);
    }
}

void stored_bytes(const std::uint8_t* data, std::size_t size) {
    std::string name(reinterpret_cast<const char*>(data), std::min(size, kNameLength));
    name = name.c_str();
    if (name.empty()) {
        return;
    }
    const ParsedName parsed = parse_utf8_name(name_to_utf8(name.c_str()));
    check(parsed.record.has_value() && name_of(*parsed.record) == name);
    check(build_name_record(widen_name(name.c_str())).bytes == parsed.record->bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    window_text(data, size);
    utf8_argument(data, size);
    stored_bytes(data, size);
    return 0;
}
