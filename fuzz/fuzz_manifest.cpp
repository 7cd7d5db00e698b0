// Arbitrary bytes as the manifest of an unpacked folder: the reader must accept or refuse it with
// a message and a line, and what it accepts must write out and read back as the same entries.
#include <cstdlib>
#include <string>

#include "manifest.h"

namespace {

using namespace tvk;

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool same_entries(const std::vector<ManifestEntry>& first,
                  const std::vector<ManifestEntry>& second) {
    if (first.size() != second.size()) {
        return false;
    }
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (first[i].picture != second[i].picture || first[i].block != second[i].block ||
            first[i].record.bytes != second[i].record.bytes ||
            first[i].record.hash != second[i].record.hash) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ParsedManifest parsed = parse_manifest(text);
    if (!parsed.error.empty()) {
        check(parsed.entries.empty() && parsed.error_line >= 0);
        return 0;
    }
    for (const ManifestEntry& entry : parsed.entries) {
        check(!entry.picture.empty() && entry.line > 0);
    }
    const std::string written = format_manifest(parsed.entries);
    const ParsedManifest again = parse_manifest(written);
    check(again.error.empty());
    check(same_entries(again.entries, parsed.entries));
    check(format_manifest(again.entries) == written);
    return 0;
}
