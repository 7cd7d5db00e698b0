#pragma once

#include <cstddef>
#include <cstdint>

// The fixed numbers of the screen archive file.
namespace tvk {

inline constexpr std::size_t kRecordLength = 64;       // header, name record, closing zero record
inline constexpr std::size_t kRecordChecksumEnd = 60;  // 64-byte records are checksummed over 4..59
inline constexpr std::size_t kBlockSize = 16384;       // one screen block
inline constexpr std::size_t kUsedBlockSize = 10344;   // palette and pixel stream of a block
inline constexpr std::size_t kChecksumLength = 4;      // bytes 0..3 of every record

inline constexpr std::size_t kNameOffset = 4;        // name bytes within a name record
inline constexpr std::size_t kNameLength = 56;       // at most 56 one-byte characters
inline constexpr std::size_t kDataSizeOffset = 60;   // u16 data size within a name record
inline constexpr std::size_t kScratchOffset = 64;    // display copy within a name buffer
inline constexpr std::size_t kNameBufferSize = 121;  // name record + 57-byte name scratch

inline constexpr std::uint32_t kFirstMagic = 0x55BECFAA;
inline constexpr std::uint32_t kSecondMagic = 0xAAFCEB55;
inline constexpr char kSignature[] = "CSZ_RK02V100";  // stored without its terminator
inline constexpr std::size_t kSignatureLength = 12;

// Header field offsets.
inline constexpr std::size_t kFirstMagicOffset = 4;
inline constexpr std::size_t kSecondMagicOffset = 8;
inline constexpr std::size_t kSignatureOffset = 12;
inline constexpr std::size_t kNameAreaOffsetField = 24;
inline constexpr std::size_t kScreenWidthField = 28;
inline constexpr std::size_t kScreenHeightField = 30;
inline constexpr std::size_t kBlockSizeField = 32;
inline constexpr std::size_t kEntryCountField = 36;
inline constexpr std::size_t kBlockAreaOffsetField = 40;

inline constexpr std::uint32_t kNameAreaOffset = 256;  // header + header tail
inline constexpr std::size_t kHeaderTailOffset = 64;
inline constexpr std::size_t kHeaderTailSource = 48;  // header bytes 48..63 repeated in the tail
inline constexpr std::size_t kHeaderTailCopies = 12;

inline constexpr std::uint16_t kScreenWidth = 120;
inline constexpr std::uint16_t kScreenHeight = 112;

// The reader takes the entry count and the area offsets as 16-bit values; the block area offset
// 64 * (n + 5) still fits for 1018 entries and no more.
inline constexpr std::size_t kMaxEntries = 1018;

inline constexpr std::uint64_t block_area_offset(std::uint64_t entry_count) {
    return kRecordLength * (entry_count + 5);
}
inline constexpr std::uint64_t archive_size(std::uint64_t entry_count) {
    return block_area_offset(entry_count) + kBlockSize * entry_count;
}

}  // namespace tvk
