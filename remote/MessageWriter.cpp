#include "remote/MessageWriter.h"

#include "foundation/ByteOrder.h"
#include "foundation/ErrorCodes.h"
#include "remote/ByteChannel.h"
#include "remote/LinkCodes.h"
#include "remote/MessageChecksum.h"
#include "remote/PayloadPacking.h"
#include "remote/PayloadSource.h"
#include "remote/ProgressRange.h"
#include "remote/WireBase64.h"
#include "remote/WireHeader.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr size_t kPieceTextLength = wirebase64::EncodedLength(MessageWriter::kPieceSize);
constexpr size_t kFramedPieceLength = WireHeader::kLength + kPieceTextLength;
// Pieces go out in batches of this many (about 60 KB a write); progress moves after each batch.
constexpr size_t kPiecesPerBatch = 30;

// Appends one piece, header and text, to the batch.
void AppendPiece(std::vector<uint8_t>& batch, const WireHeader& header, std::span<const uint8_t> piece) {
    const size_t start = batch.size();
    batch.resize(start + WireHeader::kLength + wirebase64::EncodedLength(piece.size()));
    header.Write(std::span<uint8_t, WireHeader::kLength>(batch.data() + start, WireHeader::kLength));
    wirebase64::Encode(piece, batch.data() + start + WireHeader::kLength);
}

int SendBatch(ByteChannel& channel, const std::vector<uint8_t>& batch, bool first, int stallMs) {
    const nativesockets::IoResult sent = channel.WriteAll(batch, stallMs);
    if (sent.status == nativesockets::IoStatus::Done)
        return 0;
    return first && sent.count < WireHeader::kLength ? kErrorRemoteHeaderNotSent
                                                     : linkcodes::kErrorPayloadNotSent;
}

// Gives the raw bytes of `length` from `offset` on, for the pieces of one batch.
using BatchBytes = std::function<int(size_t offset, size_t length, std::span<const uint8_t>& bytes)>;

int SendPieces(ByteChannel& channel, WireHeader header, size_t total, const BatchBytes& batchBytes,
               AProgress* progress, int stallMs) {
    ProgressRange range(progress);
    std::vector<uint8_t> batch;
    batch.reserve(kPiecesPerBatch * kFramedPieceLength);
    bool first = true;
    for (size_t offset = 0; offset < total;) {
        std::span<const uint8_t> bytes;
        const size_t batchLength = std::min(kPiecesPerBatch * MessageWriter::kPieceSize, total - offset);
        if (batchBytes(offset, batchLength, bytes) != 0)
            return first ? kErrorRemoteHeaderNotSent : linkcodes::kErrorPayloadNotSent;
        batch.clear();
        for (size_t done = 0; done < batchLength;) {
            const size_t length = std::min(MessageWriter::kPieceSize, batchLength - done);
            const bool last = offset + done + length == total;
            header.rawLength = last ? static_cast<int32_t>(length) : -static_cast<int32_t>(total);
            header.base64Length = static_cast<int32_t>(wirebase64::EncodedLength(length));
            AppendPiece(batch, header, bytes.subspan(done, length));
            done += length;
        }
        if (const int result = SendBatch(channel, batch, first, stallMs))
            return result;
        first = false;
        offset += batchLength;
        range.Set(offset, total);
    }
    return 0;
}

int SendSingle(ByteChannel& channel, WireHeader header, std::span<const uint8_t> payload, int stallMs) {
    header.rawLength = static_cast<int32_t>(payload.size());
    header.base64Length = static_cast<int32_t>(wirebase64::EncodedLength(payload.size()));
    std::vector<uint8_t> message;
    AppendPiece(message, header, payload);
    return SendBatch(channel, message, true, stallMs);
}

WireHeader HeaderOf(int32_t code, bool packed, uint16_t checksum) {
    WireHeader header;
    header.code = code;
    header.packed = packed;
    header.checksum = checksum;
    return header;
}

bool TooLarge(size_t size) {
    return size >= static_cast<size_t>(WireHeader::kMaxPayload);
}

} // namespace

int MessageWriter::SendFramed(ByteChannel& channel, int32_t code, std::span<const uint8_t> payload,
                              bool packed, AProgress* progress, int stallMs) {
    if (TooLarge(payload.size()))
        return kErrorRemoteHeaderNotSent;
    const WireHeader header = HeaderOf(code, packed, MessageChecksum(payload));
    if (payload.size() <= kPieceSize)
        return SendSingle(channel, header, payload, stallMs);
    const BatchBytes inPlace = [payload](size_t offset, size_t length, std::span<const uint8_t>& bytes) {
        bytes = payload.subspan(offset, length);
        return 0;
    };
    return SendPieces(channel, header, payload.size(), inPlace, progress, stallMs);
}

int MessageWriter::SendFramed(ByteChannel& channel, int32_t code, PayloadSource& source, AProgress* progress,
                              int stallMs) {
    const size_t total = source.Size();
    if (TooLarge(total))
        return kErrorRemoteHeaderNotSent;
    const WireHeader header = HeaderOf(code, false, source.Checksum());
    std::vector<uint8_t> scratch(std::min(total, kPiecesPerBatch * kPieceSize));
    const BatchBytes fromSource = [&](size_t, size_t length, std::span<const uint8_t>& bytes) {
        bytes = std::span(scratch.data(), length);
        return source.Read(std::span(scratch.data(), length));
    };
    if (total > kPieceSize)
        return SendPieces(channel, header, total, fromSource, progress, stallMs);
    std::span<const uint8_t> bytes;
    if (fromSource(0, total, bytes) != 0)
        return kErrorRemoteHeaderNotSent;
    return SendSingle(channel, header, bytes, stallMs);
}

int MessageWriter::SendMessage(ByteChannel& channel, int32_t code, std::span<const uint8_t> payload,
                               uint32_t emptyWord, bool pack, AProgress* progress, int stallMs) {
    uint8_t emptyPayload[4];
    if (payload.empty()) {
        StoreLE32(emptyPayload, emptyWord);
        payload = emptyPayload;
    }
    if (pack) {
        if (const auto packed = payloadpacking::PackMessage(payload))
            return SendFramed(channel, code, *packed, true, progress, stallMs);
    }
    return SendFramed(channel, code, payload, false, progress, stallMs);
}
