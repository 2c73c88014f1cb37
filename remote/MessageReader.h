#pragma once
// Receives messages from a byte channel, trusting nothing: every header field must be well formed and
// in range, every Base64 length must match its raw length, the pieces of a split payload must add up
// to the total of the first, the checksum must hold, and a packed payload must unpack exactly. The
// payload grows as the data arrives, never ahead of it from a length that the peer claims.

#include "platform/sockets/TcpSockets.h"
#include "remote/WireHeader.h"

#include <cstdint>
#include <vector>

class AProgress;
class ByteChannel;
class ChecksumAccumulator;
class PayloadSink;

class MessageReader {
public:
    static constexpr size_t kBufferSize = 256 * 1024;

    explicit MessageReader(ByteChannel& channel);

    // Whether a message has begun to arrive by the deadline: at once when its bytes wait already.
    nativesockets::IoStatus WaitForMessage(const nativesockets::Deadline& deadline);
    // 0; -10571 when the connection ends, stops or times out inside the header; -1 when it is malformed.
    int ReadHeader(WireHeader& header, const nativesockets::Deadline& deadline);
    // The raw payload that `header` opens (with every further piece of a split one), unpacked when it
    // is flagged so: 0, or -1 when it is lost, malformed or damaged. `stallMs` bounds each wait.
    int ReadPayload(const WireHeader& header, std::vector<uint8_t>& payload, int stallMs,
                    AProgress* progress);
    // The same into a sink, piece by piece as the pieces arrive (a packed payload at once, unpacked): 0,
    // -1, or the code with which the sink refused.
    int ReadPayload(const WireHeader& header, PayloadSink& sink, int stallMs, AProgress* progress);

private:
    bool Fill(size_t count, const nativesockets::Deadline& deadline);
    int ReadRaw(const WireHeader& header, PayloadSink& sink, int stallMs, AProgress* progress);
    int ReadPiece(size_t rawLength, size_t base64Length, PayloadSink& sink, int stallMs,
                  ChecksumAccumulator& checksum);
    int ReadSinglePayload(const WireHeader& header, PayloadSink& sink, int stallMs);
    int ReadSplitPayload(const WireHeader& first, PayloadSink& sink, int stallMs, AProgress* progress);
    int ReadNextPiece(const WireHeader& first, size_t total, size_t& received, PayloadSink& sink,
                      int stallMs, ChecksumAccumulator& checksum);

    ByteChannel& m_channel;
    std::vector<uint8_t> m_buffer;
    size_t m_begin = 0;
    size_t m_end = 0;
};
