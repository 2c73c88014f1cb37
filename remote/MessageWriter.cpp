#include "remote/MessageWriter.h"

#include "foundation/ByteOrder.h"
#include "remote/ByteChannel.h"
#include "remote/LinkCodes.h"
#include "remote/MessageChecksum.h"
#include "remote/PayloadPacking.h"
#include "remote/ProgressRange.h"
#include "remote/WireBase64.h"
#include "remote/WireHeader.h"

#include <algorithm>
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
    return first && sent.count < WireHeader::kLength ? linkcodes::kErrorHeaderNotSent
                                                     : linkcodes::kErrorPayloadNotSent;
}

int SendPieces(ByteChannel& channel, WireHeader header, std::span<const uint8_t> payload, AProgress* progress,
               int stallMs) {
    const size_t total = payload.size();
    ProgressRange range(progress);
    std::vector<uint8_t> batch;
    batch.reserve(kPiecesPerBatch * kFramedPieceLength);
    bool first = true;
    for (size_t offset = 0; offset < total;) {
        batch.clear();
        for (size_t count = 0; count < kPiecesPerBatch && offset < total; ++count) {
            const size_t length = std::min(MessageWriter::kPieceSize, total - offset);
            const bool last = offset + length == total;
            header.rawLength = last ? static_cast<int32_t>(length) : -static_cast<int32_t>(total);
            header.base64Length = static_cast<int32_t>(wirebase64::EncodedLength(length));
            AppendPiece(batch, header, payload.subspan(offset, length));
            offset += length;
        }
        if (const int result = SendBatch(channel, batch, first, stallMs))
            return result;
        first = false;
        range.Set(offset, total);
    }
    return 0;
}

} // namespace

int MessageWriter::SendFramed(ByteChannel& channel, int32_t code, std::span<const uint8_t> payload,
                              bool packed, AProgress* progress, int stallMs) {
    if (payload.size() >= static_cast<size_t>(WireHeader::kMaxPayload))
        return linkcodes::kErrorHeaderNotSent;
    WireHeader header;
    header.code = code;
    header.packed = packed;
    header.checksum = MessageChecksum(payload);
    if (payload.size() > kPieceSize)
        return SendPieces(channel, header, payload, progress, stallMs);
    header.rawLength = static_cast<int32_t>(payload.size());
    header.base64Length = static_cast<int32_t>(wirebase64::EncodedLength(payload.size()));
    std::vector<uint8_t> message;
    AppendPiece(message, header, payload);
    return SendBatch(channel, message, true, stallMs);
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
