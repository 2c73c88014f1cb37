#pragma once
// The bytes of a message and of its answer between the programs, little-endian. A message: its
// version word, whether the sender waits for an answer, the number, the two parameters, the payload's
// length and the payload. An answer: its own version word and the receiver's signed 64-bit result.
// Bytes from the other side are checked before use: a wrong word or an oversized payload is Invalid.

#include "platform/ipc/PeerMessage.h"

#include <QByteArray>
#include <QByteArrayView>

namespace nativeipc {

class PeerWire {
public:
    static constexpr qsizetype kMessageHeaderBytes = 32;
    static constexpr qsizetype kAnswerBytes = 12;
    static constexpr qsizetype kLargestPayload = 64 * 1024;

    enum class Delivery : uint32_t { Post = 0, Send = 1 };
    enum class Parse { Incomplete, Complete, Invalid };

    static QByteArray EncodeMessage(const PeerMessage& message, Delivery delivery);
    // The whole length of the message that `bytes` begin with, once its header is there.
    static Parse MessageLength(QByteArrayView bytes, qsizetype& length);
    static Parse DecodeMessage(QByteArrayView bytes, PeerMessage& message, Delivery& delivery);

    static QByteArray EncodeAnswer(int64_t result);
    static Parse DecodeAnswer(QByteArrayView bytes, int64_t& result);
};

} // namespace nativeipc
