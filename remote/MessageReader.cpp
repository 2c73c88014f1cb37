#include "remote/MessageReader.h"

#include "remote/ByteChannel.h"
#include "remote/LinkCodes.h"
#include "remote/MessageChecksum.h"
#include "remote/MessageWriter.h"
#include "remote/PayloadPacking.h"
#include "remote/ProgressRange.h"
#include "remote/WireBase64.h"

#include <algorithm>
#include <array>
#include <cstring>

using nativesockets::Deadline;
using nativesockets::IoStatus;

namespace {

constexpr size_t kPieceSize = MessageWriter::kPieceSize;
constexpr size_t kFirstReserve = 64 * 1024;
constexpr size_t kGrowthFactor = 4;
// Progress moves after every tenth piece.
constexpr size_t kPiecesPerProgressStep = 10;

// Room for `needed` bytes, at most four times what has arrived and never more than the total. Fresh
// memory costs a page fault per page: growing by four touches less of it than doubling does.
void GrowFor(std::vector<uint8_t>& payload, size_t needed, size_t total) {
    if (needed <= payload.capacity())
        return;
    payload.reserve(std::min(total, std::max({needed, payload.capacity() * kGrowthFactor, kFirstReserve})));
}

bool ContinuesMessage(const WireHeader& first, const WireHeader& next) {
    return next.code == first.code && next.packed == first.packed && next.checksum == first.checksum;
}

} // namespace

MessageReader::MessageReader(ByteChannel& channel) : m_channel(channel), m_buffer(kBufferSize) {}

bool MessageReader::Fill(size_t count, const Deadline& deadline) {
    while (m_end - m_begin < count) {
        if (m_buffer.size() - m_begin < count) {
            std::memmove(m_buffer.data(), m_buffer.data() + m_begin, m_end - m_begin);
            m_end -= m_begin;
            m_begin = 0;
        }
        const auto got = m_channel.ReadSome(std::span(m_buffer).subspan(m_end), deadline);
        if (got.status != IoStatus::Done)
            return false;
        m_end += got.count;
    }
    return true;
}

IoStatus MessageReader::WaitForMessage(const Deadline& deadline) {
    return m_end > m_begin ? IoStatus::Done : m_channel.WaitReadable(deadline);
}

int MessageReader::ReadHeader(WireHeader& header, const Deadline& deadline) {
    if (!Fill(WireHeader::kLength, deadline))
        return linkcodes::kErrorAnswerHeaderShort;
    const std::span<const uint8_t, WireHeader::kLength> bytes(m_buffer.data() + m_begin, WireHeader::kLength);
    m_begin += WireHeader::kLength;
    return header.Read(bytes) ? 0 : linkcodes::kErrorLink;
}

int MessageReader::ReadPiece(size_t rawLength, size_t base64Length, std::vector<uint8_t>& payload,
                             int stallMs, ChecksumAccumulator& checksum) {
    if (base64Length != wirebase64::EncodedLength(rawLength) || rawLength > kPieceSize)
        return linkcodes::kErrorLink;
    if (!Fill(base64Length, Deadline::AfterMs(stallMs)))
        return linkcodes::kErrorLink;
    std::array<uint8_t, kPieceSize> decoded;
    const long count = wirebase64::Decode(std::span(m_buffer).subspan(m_begin, base64Length), decoded.data());
    m_begin += base64Length;
    if (count != static_cast<long>(rawLength))
        return linkcodes::kErrorLink;
    // Summed while the piece is at hand: every piece but the last is 1536 bytes, an even length.
    checksum.Add(std::span(decoded.data(), rawLength));
    payload.insert(payload.end(), decoded.begin(), decoded.begin() + count);
    return 0;
}

int MessageReader::ReadSinglePayload(const WireHeader& header, std::vector<uint8_t>& payload, int stallMs) {
    ChecksumAccumulator checksum;
    if (const int result = ReadPiece(header.rawLength, header.base64Length, payload, stallMs, checksum))
        return result;
    if (header.checksum != 0 && checksum.Finish() != header.checksum)
        return linkcodes::kErrorLink;
    return 0;
}

int MessageReader::ReadNextPiece(const WireHeader& first, size_t total, std::vector<uint8_t>& payload,
                                 int stallMs, ChecksumAccumulator& checksum) {
    WireHeader next;
    if (ReadHeader(next, Deadline::AfterMs(stallMs)) != 0 || !ContinuesMessage(first, next))
        return linkcodes::kErrorLink;
    const size_t left = total - payload.size();
    // A middle piece is whole and leaves some of the total; the last one brings exactly the rest.
    const bool middle = next.rawLength < 0;
    if (middle ? (next.rawLength != first.rawLength || left <= kPieceSize)
               : static_cast<size_t>(next.rawLength) != left)
        return linkcodes::kErrorLink;
    const size_t length = middle ? kPieceSize : left;
    GrowFor(payload, payload.size() + length, total);
    return ReadPiece(length, next.base64Length, payload, stallMs, checksum);
}

int MessageReader::ReadSplitPayload(const WireHeader& first, std::vector<uint8_t>& payload, int stallMs,
                                    AProgress* progress) {
    const size_t total = static_cast<size_t>(-static_cast<int64_t>(first.rawLength));
    // A payload is split only when it does not fit one piece.
    if (total <= kPieceSize)
        return linkcodes::kErrorLink;
    ProgressRange range(progress);
    ChecksumAccumulator checksum;
    GrowFor(payload, kPieceSize, total);
    if (const int result = ReadPiece(kPieceSize, first.base64Length, payload, stallMs, checksum))
        return result;
    for (size_t pieces = 1; payload.size() < total; ++pieces) {
        if (const int result = ReadNextPiece(first, total, payload, stallMs, checksum))
            return result;
        if (pieces % kPiecesPerProgressStep == 0)
            range.Set(payload.size(), total);
    }
    // Checked even when the first header gave none: a real checksum is never 0.
    return checksum.Finish() == first.checksum ? 0 : linkcodes::kErrorLink;
}

int MessageReader::ReadPayload(const WireHeader& header, std::vector<uint8_t>& payload, int stallMs,
                               AProgress* progress) {
    payload.clear();
    const int result = header.rawLength < 0 ? ReadSplitPayload(header, payload, stallMs, progress)
                                            : ReadSinglePayload(header, payload, stallMs);
    if (result != 0 || !header.packed)
        return result;
    auto unpacked = payloadpacking::UnpackMessage(payload);
    if (!unpacked)
        return linkcodes::kErrorLink;
    payload = std::move(*unpacked);
    return 0;
}
