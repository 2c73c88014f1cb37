#include "remote/MessageReader.h"

#include "foundation/ErrorCodes.h"
#include "remote/ByteChannel.h"
#include "remote/LinkCodes.h"
#include "remote/MessageChecksum.h"
#include "remote/MessageWriter.h"
#include "foundation/PayloadSink.h"
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

// The payload into memory that grows as it arrives.
class VectorSink : public PayloadSink {
public:
    explicit VectorSink(std::vector<uint8_t>& payload) : m_payload(payload) {}
    void Begin(size_t total) override { m_total = total; }
    int Append(std::span<const uint8_t> bytes) override {
        GrowFor(m_payload, m_payload.size() + bytes.size(), m_total);
        m_payload.insert(m_payload.end(), bytes.begin(), bytes.end());
        return 0;
    }

private:
    std::vector<uint8_t>& m_payload;
    size_t m_total = 0;
};

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
    return header.Read(bytes) ? 0 : kErrorEndOfStream;
}

int MessageReader::ReadPiece(size_t rawLength, size_t base64Length, PayloadSink& sink, int stallMs,
                             ChecksumAccumulator& checksum) {
    if (base64Length != wirebase64::EncodedLength(rawLength) || rawLength > kPieceSize)
        return kErrorEndOfStream;
    if (!Fill(base64Length, Deadline::AfterMs(stallMs)))
        return kErrorEndOfStream;
    std::array<uint8_t, kPieceSize> decoded;
    const long count = wirebase64::Decode(std::span(m_buffer).subspan(m_begin, base64Length), decoded.data());
    m_begin += base64Length;
    if (count != static_cast<long>(rawLength))
        return kErrorEndOfStream;
    // Summed while the piece is at hand: every piece but the last is 1536 bytes, an even length.
    checksum.Add(std::span(decoded.data(), rawLength));
    return sink.Append(std::span(decoded.data(), rawLength));
}

int MessageReader::ReadSinglePayload(const WireHeader& header, PayloadSink& sink, int stallMs) {
    ChecksumAccumulator checksum;
    sink.Begin(static_cast<size_t>(header.rawLength));
    if (const int result = ReadPiece(header.rawLength, header.base64Length, sink, stallMs, checksum))
        return result;
    if (header.checksum != 0 && checksum.Finish() != header.checksum)
        return kErrorEndOfStream;
    return 0;
}

int MessageReader::ReadNextPiece(const WireHeader& first, size_t total, size_t& received, PayloadSink& sink,
                                 int stallMs, ChecksumAccumulator& checksum) {
    WireHeader next;
    if (ReadHeader(next, Deadline::AfterMs(stallMs)) != 0 || !ContinuesMessage(first, next))
        return kErrorEndOfStream;
    const size_t left = total - received;
    // A middle piece is whole and leaves some of the total; the last one brings exactly the rest.
    const bool middle = next.rawLength < 0;
    if (middle ? (next.rawLength != first.rawLength || left <= kPieceSize)
               : static_cast<size_t>(next.rawLength) != left)
        return kErrorEndOfStream;
    const size_t length = middle ? kPieceSize : left;
    if (const int result = ReadPiece(length, next.base64Length, sink, stallMs, checksum))
        return result;
    received += length;
    return 0;
}

int MessageReader::ReadSplitPayload(const WireHeader& first, PayloadSink& sink, int stallMs,
                                    AProgress* progress) {
    const size_t total = static_cast<size_t>(-static_cast<int64_t>(first.rawLength));
    // A payload is split only when it does not fit one piece.
    if (total <= kPieceSize)
        return kErrorEndOfStream;
    ProgressRange range(progress);
    ChecksumAccumulator checksum;
    sink.Begin(total);
    if (const int result = ReadPiece(kPieceSize, first.base64Length, sink, stallMs, checksum))
        return result;
    size_t received = kPieceSize;
    for (size_t pieces = 1; received < total; ++pieces) {
        if (const int result = ReadNextPiece(first, total, received, sink, stallMs, checksum))
            return result;
        if (pieces % kPiecesPerProgressStep == 0)
            range.Set(received, total);
    }
    // Checked even when the first header gave none: a real checksum is never 0.
    return checksum.Finish() == first.checksum ? 0 : kErrorEndOfStream;
}

int MessageReader::ReadRaw(const WireHeader& header, PayloadSink& sink, int stallMs, AProgress* progress) {
    return header.rawLength < 0 ? ReadSplitPayload(header, sink, stallMs, progress)
                                : ReadSinglePayload(header, sink, stallMs);
}

int MessageReader::ReadPayload(const WireHeader& header, std::vector<uint8_t>& payload, int stallMs,
                               AProgress* progress) {
    payload.clear();
    VectorSink sink(payload);
    const int result = ReadRaw(header, sink, stallMs, progress);
    if (result != 0 || !header.packed)
        return result;
    auto unpacked = payloadpacking::UnpackMessage(payload);
    if (!unpacked)
        return kErrorEndOfStream;
    payload = std::move(*unpacked);
    return 0;
}

int MessageReader::ReadPayload(const WireHeader& header, PayloadSink& sink, int stallMs, AProgress* progress) {
    if (!header.packed)
        return ReadRaw(header, sink, stallMs, progress);
    // A packed payload can only be unpacked whole.
    std::vector<uint8_t> payload;
    if (const int result = ReadPayload(header, payload, stallMs, progress))
        return result;
    sink.Begin(payload.size());
    return sink.Append(payload);
}
