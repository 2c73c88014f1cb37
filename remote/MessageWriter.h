#pragma once
// Sends messages: the header, then the raw payload in Base64. A raw payload over 1536 bytes goes as
// pieces of 1536 bytes (the last takes the rest), each a message of its own with the same code,
// checksum and flag; every piece but the last carries minus the total as its raw length.

#include <cstdint>
#include <span>

class AProgress;
class ByteChannel;
class PayloadSource;

class MessageWriter {
public:
    static constexpr size_t kPieceSize = 1536;
    // What an empty payload is sent as: requests and answers are never sent without one.
    static constexpr uint32_t kEmptyRequestWord = 100564;
    static constexpr uint32_t kEmptyAnswerWord = 0;

    // Sends the payload as it is, `packed` telling the receiver to unpack it. 0, -10565 when the header
    // was not sent, -10566 when the payload was not.
    static int SendFramed(ByteChannel& channel, int32_t code, std::span<const uint8_t> payload, bool packed,
                          AProgress* progress, int stallMs);
    // Sends a payload read from `source` as it goes, never packed; a failed read ends the message
    // short, which the receiver drops.
    static int SendFramed(ByteChannel& channel, int32_t code, PayloadSource& source, AProgress* progress,
                          int stallMs);
    // Sends a request or an answer: an empty payload as the single u32 `emptyWord`; with `pack`, packed
    // when that makes it smaller.
    static int SendMessage(ByteChannel& channel, int32_t code, std::span<const uint8_t> payload,
                           uint32_t emptyWord, bool pack, AProgress* progress, int stallMs);
};
