#include "library/tags/MpegInfoReader.h"

#include "foundation/AFile.h"
#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "library/tags/ID3v1Block.h"
#include "library/tags/MpegFrameHeader.h"
#include "library/tags/SongFields.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kWindowLength = 4096;
constexpr uint32_t kCoveredHeaderAt = 2;
constexpr uint32_t kCoveredHeaderLength = 2;
constexpr uint32_t kCrcOffset = 4;
constexpr uint32_t kCrcLength = 2;
constexpr uint32_t kSideInformationAt = kCrcOffset + kCrcLength;

constexpr uint32_t kXingNameAndFlags = 8;
constexpr uint32_t kXingFlagsByte = 7;
constexpr uint8_t kXingFrames = 1;
constexpr uint8_t kXingBytes = 2;
constexpr uint8_t kXingTableOfContents = 4;
constexpr uint8_t kXingQuality = 8;
constexpr uint32_t kXingCountLength = 4;
constexpr uint32_t kXingTableLength = 100;
constexpr uint32_t kXingQualityLength = 4;

// The VBRI header stands 32 bytes after the frame header whatever the channel mode.
constexpr uint32_t kVbriOffset = 36;
constexpr uint32_t kVbriLength = 26;
constexpr uint32_t kVbriBytesAt = 10;
constexpr uint32_t kVbriFramesAt = 14;
constexpr uint64_t kVbriMaxFrames = 0x80000000u;

} // namespace

int MpegInfoReader::ReadMpegInfo(SongFields& tags, AFile& stream, uint64_t fileLength) {
    MpegInfoReader reader(stream, fileLength,
                          (tags.tagKinds & (SongFields::kTagID3v10 | SongFields::kTagID3v11)) != 0);
    uint64_t position = stream.GetPosition();
    if (const int result = reader.SkipZeros(position))
        return result;
    for (;;) {
        uint8_t bytes[MpegFrameHeader::kLength];
        uint64_t offset = 0;
        if (const int result = reader.FindMpegFrameSync(position, bytes, offset))
            return result;
        Estimate estimate;
        if (const int result = reader.Evaluate(offset, bytes, estimate))
            return result;
        if (estimate.bitRate != 0 && estimate.duration != 0) {
            tags.bitRate = estimate.bitRate;
            tags.duration = estimate.duration;
            return 0;
        }
        position = offset + 1;
    }
}

int MpegInfoReader::SkipZeros(uint64_t& position) {
    for (;;) {
        const uint8_t* bytes = nullptr;
        uint32_t available = 0;
        if (const int result = Look(position, 1, bytes, available))
            return result;
        if (available == 0)
            return 0;
        const uint8_t* nonZero = std::find_if(bytes, bytes + available, [](uint8_t b) { return b != 0; });
        position += nonZero - bytes;
        if (nonZero != bytes + available)
            return 0;
    }
}

int MpegInfoReader::FindMpegFrameSync(uint64_t from, uint8_t* header, uint64_t& offset) {
    uint64_t position = from;
    for (;;) {
        const uint8_t* bytes = nullptr;
        uint32_t available = 0;
        if (const int result = Look(position, MpegFrameHeader::kLength, bytes, available))
            return result;
        if (available == 0)
            return kErrorNoMpegFrame;
        if (const uint8_t* found = MpegFrameHeader::FindFrameHeader(bytes, available)) {
            std::memcpy(header, found, MpegFrameHeader::kLength);
            offset = position + static_cast<uint64_t>(found - bytes);
            return 0;
        }
        // The last three bytes start the next look, so that no header across the seam is missed.
        position += available - (MpegFrameHeader::kLength - 1);
    }
}

int MpegInfoReader::Evaluate(uint64_t offset, const uint8_t* bytes, Estimate& estimate) {
    // No audio frame starts in the last 128 bytes, where an ID3v1 block lies or could lie.
    if (offset + ID3v1Block::kLength > m_fileLength)
        return 0;
    const int64_t audioBytes =
        static_cast<int64_t>(m_fileLength - offset) - (m_hasID3v1 ? ID3v1Block::kLength : 0);
    if (audioBytes <= 0)
        return 0;
    const MpegFrameHeader header(bytes);
    bool crcMatches = true;
    if (const int result = CrcMatches(offset, header, audioBytes, crcMatches))
        return result;
    if (!crcMatches)
        return 0;
    uint64_t rate = 0;
    if (const int result = AverageRate(offset, header, audioBytes, rate))
        return result;
    if (rate == 0)
        rate = header.GetBitRate();
    const uint32_t frameLength = header.FrameLength();
    if (rate == 0 || frameLength == 0 || frameLength > static_cast<uint64_t>(audioBytes))
        return 0;
    estimate.bitRate = static_cast<uint32_t>(std::min<uint64_t>(rate / 1000, UINT32_MAX));
    estimate.duration =
        static_cast<uint32_t>(std::min<uint64_t>(static_cast<uint64_t>(audioBytes) * 8 / rate, UINT32_MAX));
    return 0;
}

int MpegInfoReader::CrcMatches(uint64_t offset, const MpegFrameHeader& header, int64_t audioBytes,
                               bool& matches) {
    const uint32_t sideInfo = header.SideInformationOffset();
    matches = true;
    if (!header.IsProtected() || sideInfo + kCrcLength > static_cast<uint64_t>(audioBytes))
        return 0;
    const uint32_t length = sideInfo + kCrcLength;
    const uint8_t* frame = nullptr;
    if (const int result = BytesAt(offset, length, frame); result != 0 || !frame)
        return result;
    // The CRC covers the header's last two bytes and the side information that follows the CRC.
    uint8_t covered[MpegFrameHeader::kMaxSideInformationOffset];
    const uint32_t sideInfoLength = length - kSideInformationAt;
    std::memcpy(covered, frame + kCoveredHeaderAt, kCoveredHeaderLength);
    std::memcpy(covered + kCoveredHeaderLength, frame + kSideInformationAt, sideInfoLength);
    const uint32_t coveredLength = kCoveredHeaderLength + sideInfoLength;
    matches = MpegAudioCrc16(covered, coveredLength) == LoadBE16(frame + kCrcOffset);
    return 0;
}

int MpegInfoReader::AverageRate(uint64_t offset, const MpegFrameHeader& header, int64_t audioBytes,
                                uint64_t& rate) {
    if (const int result = XingRate(offset, header, audioBytes, rate))
        return result;
    if (rate != 0)
        return 0;
    return VbriRate(offset, header, audioBytes, rate);
}

int MpegInfoReader::XingRate(uint64_t offset, const MpegFrameHeader& header, int64_t audioBytes,
                             uint64_t& rate) {
    const uint32_t at = header.SideInformationOffset();
    if (at + kXingNameAndFlags > static_cast<uint64_t>(audioBytes))
        return 0;
    const uint8_t* xing = nullptr;
    if (const int result = BytesAt(offset + at, kXingNameAndFlags, xing); result != 0 || !xing)
        return result;
    if (std::memcmp(xing, "Xing", 4) != 0)
        return 0;
    const uint8_t flags = xing[kXingFlagsByte];
    const uint32_t length = kXingNameAndFlags + ((flags & kXingFrames) ? kXingCountLength : 0) +
                            ((flags & kXingBytes) ? kXingCountLength : 0) +
                            ((flags & kXingTableOfContents) ? kXingTableLength : 0) +
                            ((flags & kXingQuality) ? kXingQualityLength : 0);
    if (at + length > static_cast<uint64_t>(audioBytes))
        return 0;
    if (const int result = BytesAt(offset + at, length, xing); result != 0 || !xing)
        return result;
    const uint8_t* field = xing + kXingNameAndFlags;
    uint64_t frames = 0;
    uint64_t bytes = 0;
    if (flags & kXingFrames) {
        frames = LoadBE32(field);
        field += kXingCountLength;
    }
    if (flags & kXingBytes)
        bytes = LoadBE32(field);
    if (frames == 0)
        return 0;
    if (bytes == 0)
        bytes = static_cast<uint64_t>(audioBytes);
    rate = bytes / frames * header.GetSampleRate() / header.BytesPerRateUnit();
    return 0;
}

int MpegInfoReader::VbriRate(uint64_t offset, const MpegFrameHeader& header, int64_t audioBytes,
                             uint64_t& rate) {
    if (kVbriOffset + kVbriLength > static_cast<uint64_t>(audioBytes))
        return 0;
    const uint8_t* vbri = nullptr;
    if (const int result = BytesAt(offset + kVbriOffset, kVbriLength, vbri); result != 0 || !vbri)
        return result;
    if (std::memcmp(vbri, "VBRI", 4) != 0)
        return 0;
    uint64_t bytes = LoadBE32(vbri + kVbriBytesAt);
    const uint64_t frames = LoadBE32(vbri + kVbriFramesAt);
    if (frames == 0 || frames >= kVbriMaxFrames)
        return 0;
    if (bytes == 0)
        bytes = static_cast<uint64_t>(audioBytes);
    rate = bytes / frames * (header.GetSampleRate() / header.BytesPerRateUnit());
    return 0;
}

int MpegInfoReader::BytesAt(uint64_t offset, uint32_t length, const uint8_t*& bytes) {
    uint32_t available = 0;
    if (const int result = Look(offset, length, bytes, available))
        return result;
    if (available == 0)
        bytes = nullptr;
    return 0;
}

int MpegInfoReader::Look(uint64_t offset, uint32_t minimum, const uint8_t*& bytes, uint32_t& available) {
    bytes = nullptr;
    available = 0;
    if (offset > m_fileLength || m_fileLength - offset < minimum)
        return 0;
    const uint64_t windowEnd = m_windowStart + m_window.size();
    if (offset < m_windowStart || offset + minimum > windowEnd) {
        m_window.resize(std::min<uint64_t>(std::max(minimum, kWindowLength), m_fileLength - offset));
        m_windowStart = offset;
        if (const int result = m_stream.Seek(offset))
            return result;
        if (const int result = m_stream.Read(m_window.data(), static_cast<uint32_t>(m_window.size()))) {
            m_window.clear();
            return result;
        }
    }
    bytes = m_window.data() + (offset - m_windowStart);
    available = static_cast<uint32_t>(m_windowStart + m_window.size() - offset);
    return 0;
}
