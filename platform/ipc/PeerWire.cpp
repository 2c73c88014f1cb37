#include "platform/ipc/PeerWire.h"

#include <QtEndian>

namespace nativeipc {
namespace {

constexpr uint32_t kMessageVersion = 0x100001;
constexpr uint32_t kAnswerVersion = 0x100002;

// Offsets within a message header.
constexpr qsizetype kDeliveryAt = 4;
constexpr qsizetype kNumberAt = 8;
constexpr qsizetype kWParamAt = 12;
constexpr qsizetype kLParamAt = 20;
constexpr qsizetype kPayloadLengthAt = 28;
// Offset within an answer.
constexpr qsizetype kResultAt = 4;

template <typename T> void Append(QByteArray& bytes, T value) {
    const T little = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&little), sizeof little);
}

template <typename T> T ReadAt(QByteArrayView bytes, qsizetype offset) {
    return qFromLittleEndian<T>(bytes.data() + offset);
}

} // namespace

QByteArray PeerWire::EncodeMessage(const PeerMessage& message, Delivery delivery) {
    QByteArray bytes;
    bytes.reserve(kMessageHeaderBytes + message.payload.size());
    Append<uint32_t>(bytes, kMessageVersion);
    Append<uint32_t>(bytes, static_cast<uint32_t>(delivery));
    Append<uint32_t>(bytes, message.number);
    Append<int64_t>(bytes, message.wParam);
    Append<int64_t>(bytes, message.lParam);
    Append<uint32_t>(bytes, static_cast<uint32_t>(message.payload.size()));
    bytes.append(message.payload);
    return bytes;
}

PeerWire::Parse PeerWire::MessageLength(QByteArrayView bytes, qsizetype& length) {
    if (bytes.size() < kMessageHeaderBytes)
        return Parse::Incomplete;
    const auto delivery = ReadAt<uint32_t>(bytes, kDeliveryAt);
    const auto payloadLength = ReadAt<uint32_t>(bytes, kPayloadLengthAt);
    if (ReadAt<uint32_t>(bytes, 0) != kMessageVersion ||
        (delivery != static_cast<uint32_t>(Delivery::Post) &&
         delivery != static_cast<uint32_t>(Delivery::Send)) ||
        payloadLength > kLargestPayload)
        return Parse::Invalid;
    length = kMessageHeaderBytes + static_cast<qsizetype>(payloadLength);
    return Parse::Complete;
}

PeerWire::Parse PeerWire::DecodeMessage(QByteArrayView bytes, PeerMessage& message, Delivery& delivery) {
    qsizetype length = 0;
    if (const Parse header = MessageLength(bytes, length); header != Parse::Complete)
        return header;
    if (bytes.size() < length)
        return Parse::Incomplete;
    delivery = static_cast<Delivery>(ReadAt<uint32_t>(bytes, kDeliveryAt));
    message.number = ReadAt<uint32_t>(bytes, kNumberAt);
    message.wParam = ReadAt<int64_t>(bytes, kWParamAt);
    message.lParam = ReadAt<int64_t>(bytes, kLParamAt);
    message.payload = bytes.sliced(kMessageHeaderBytes, length - kMessageHeaderBytes).toByteArray();
    return Parse::Complete;
}

QByteArray PeerWire::EncodeAnswer(int64_t result) {
    QByteArray bytes;
    Append<uint32_t>(bytes, kAnswerVersion);
    Append<int64_t>(bytes, result);
    return bytes;
}

PeerWire::Parse PeerWire::DecodeAnswer(QByteArrayView bytes, int64_t& result) {
    if (bytes.size() < kAnswerBytes)
        return Parse::Incomplete;
    if (ReadAt<uint32_t>(bytes, 0) != kAnswerVersion)
        return Parse::Invalid;
    result = ReadAt<int64_t>(bytes, kResultAt);
    return Parse::Complete;
}

} // namespace nativeipc
