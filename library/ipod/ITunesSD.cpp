#include "library/ipod/ITunesSD.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"

#include <algorithm>
#include <array>

namespace {

constexpr uint32_t kHeaderMarkOffset = 3;
constexpr uint32_t kHeaderLengthOffset = 6;
constexpr uint8_t kHeaderMark[] = {0x01, 0x07, 0x00};

constexpr uint32_t kEntryMarkOffset = 3;
constexpr uint32_t kVolumeOffset = 24;
constexpr uint32_t kFileTypeOffset = 29;
constexpr uint32_t kFlagOffset = 31;
constexpr uint32_t kPlayInShuffleOffset = 555;
constexpr uint8_t kEntryMark[] = {0x5A, 0xA5, 0x01};
// 100 percent: the track plays at its own volume.
constexpr uint32_t kNoVolumeAdjustment = 0x64;

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

} // namespace

int ITunesSD::WriteHeader(AFile& stream, uint32_t songCount) {
    std::array<uint8_t, kHeaderLength> header{};
    StoreBE24(header.data(), songCount);
    std::copy(std::begin(kHeaderMark), std::end(kHeaderMark), header.begin() + kHeaderMarkOffset);
    StoreBE24(header.data() + kHeaderLengthOffset, kHeaderLength);
    return stream.Write(header.data(), kHeaderLength);
}

int ITunesSD::WriteEntry(AFile& stream, const AString& path, const AString& extension) {
    std::array<uint8_t, kEntryLength> entry{};
    StoreBE24(entry.data(), kEntryLength);
    std::copy(std::begin(kEntryMark), std::end(kEntryMark), entry.begin() + kEntryMarkOffset);
    StoreBE24(entry.data() + kVolumeOffset, kNoVolumeAdjustment);
    entry[kFileTypeOffset] = FileTypeOf(extension);
    entry[kFlagOffset] = 2;
    int length = std::min(path.GetLength(), kMaxPathLength);
    // Never keep half of a surrogate pair.
    if (length < path.GetLength() && length > 0 && IsHighSurrogate(path.GetAt(length - 1)))
        --length;
    for (int i = 0; i < length; ++i)
        StoreLE16(entry.data() + kPathOffset + 2 * i, path.GetAt(i));
    entry[kPlayInShuffleOffset] = 1;
    return stream.Write(entry.data(), kEntryLength);
}

ITunesSD::FileType ITunesSD::FileTypeOf(const AString& extension) {
    if (extension.CompareNoCase("mp3") == 0)
        return kMp3;
    if (extension.CompareNoCase("wav") == 0)
        return kWav;
    return kAac;
}
