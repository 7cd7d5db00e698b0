// info and verify, which read the archive file themselves: they report what the reader ignores.
#include <optional>
#include <string>

#include "archive_check.h"
#include "archive_header.h"
#include "cli_support.h"
#include "commands.h"
#include "messages.h"
#include "whole_file.h"

namespace tvk {
namespace {

// Printable ASCII as it is, every other byte as \xHH.
std::string signature_text(const RawHeader& header) {
    std::string text;
    for (std::size_t i = 0; i < kSignatureLength; ++i) {
        const std::uint8_t byte = header.plain[kSignatureOffset + i];
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            text += static_cast<char>(byte);
        } else {
            text += "\\x" + hex_text(byte, 2);
        }
    }
    return text;
}

std::string hex32(std::uint32_t value) {
    return "0x" + hex_text(value, 8);
}

}  // namespace

int command_info(const Invocation& call, CliContext& context) {
    const std::string& archive = call.operands[0];
    std::error_code error;
    const std::optional<std::string> file = read_file_bytes(path_from_utf8(archive), &error);
    if (!file) {
        return report_file_error(context, archive, kCantOpen, error);
    }
    const std::optional<RawHeader> header = read_raw_header(*file);
    if (!header || !header->checksum_matches()) {
        return report_file_error(context, archive, kNotAnArchive);
    }
    std::ostream& out = context.out;
    out << "header checksum:   " << hex32(header->stored_checksum) << '\n'
        << "first magic:       " << hex32(header->field_u32(kFirstMagicOffset)) << '\n'
        << "second magic:      " << hex32(header->field_u32(kSecondMagicOffset)) << '\n'
        << "signature:         " << signature_text(*header) << '\n'
        << "name area offset:  " << header->field_u32(kNameAreaOffsetField) << '\n'
        << "screen size:       " << header->field_u16(kScreenWidthField) << " x "
        << header->field_u16(kScreenHeightField) << '\n'
        << "block size:        " << header->field_u32(kBlockSizeField) << '\n'
        << "entry count:       " << header->field_u32(kEntryCountField) << '\n'
        << "block area offset: " << header->field_u32(kBlockAreaOffsetField) << '\n'
        << "entries read:      " << header->entry_count << '\n'
        << "file size:         " << file->size() << " bytes, the header implies "
        << header->implied_size() << '\n';
    if (header->beyond_reader_limit()) {
        out << "note:              " << beyond_reader_limit_text(header->entry_count) << '\n';
    }
    return kExitOk;
}

int command_verify(const Invocation& call, CliContext& context) {
    const std::string& archive = call.operands[0];
    std::error_code error;
    const std::optional<std::string> file = read_file_bytes(path_from_utf8(archive), &error);
    if (!file) {
        return report_file_error(context, archive, kCantOpen, error);
    }
    const std::vector<std::string> problems = archive_problems(*file);
    for (const std::string& problem : problems) {
        context.out << problem << '\n';
    }
    return problems.empty() ? kExitOk : kExitError;
}

}  // namespace tvk
