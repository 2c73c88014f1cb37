#include "platform/ipc/PeerWire.h"

#include <gtest/gtest.h>

using nativeipc::PeerMessage;
using nativeipc::PeerWire;

namespace {

// 0x425 with wParam 1, lParam -2 and the payload "ab", sent: every field little-endian, written out.
const QByteArray kStartupConfigBytes = QByteArray::fromHex("01001000"
                                                           "01000000"
                                                           "25040000"
                                                           "0100000000000000"
                                                           "feffffffffffffff"
                                                           "02000000"
                                                           "6162");

TEST(PeerWire, MessageBytesAreLittleEndianFields) {
    const PeerMessage message{0x425, 1, -2, "ab"};
    EXPECT_EQ(PeerWire::EncodeMessage(message, PeerWire::Delivery::Send), kStartupConfigBytes);

    PeerMessage decoded;
    PeerWire::Delivery delivery = PeerWire::Delivery::Post;
    ASSERT_EQ(PeerWire::DecodeMessage(kStartupConfigBytes, decoded, delivery), PeerWire::Parse::Complete);
    EXPECT_EQ(delivery, PeerWire::Delivery::Send);
    EXPECT_EQ(decoded.number, 0x425u);
    EXPECT_EQ(decoded.wParam, 1);
    EXPECT_EQ(decoded.lParam, -2);
    EXPECT_EQ(decoded.payload, "ab");
}

TEST(PeerWire, AMessageIsCompleteOnlyWithItsLastByte) {
    PeerMessage decoded;
    PeerWire::Delivery delivery;
    for (qsizetype length = 0; length < kStartupConfigBytes.size(); ++length)
        EXPECT_EQ(PeerWire::DecodeMessage(kStartupConfigBytes.first(length), decoded, delivery),
                  PeerWire::Parse::Incomplete)
            << length;
    EXPECT_EQ(PeerWire::DecodeMessage(kStartupConfigBytes + "more", decoded, delivery),
              PeerWire::Parse::Complete);
    EXPECT_EQ(decoded.payload, "ab");
}

TEST(PeerWire, RefusesForeignBytes) {
    const auto withField = [](qsizetype at, const char* hex) {
        QByteArray bytes = kStartupConfigBytes;
        const QByteArray field = QByteArray::fromHex(hex);
        bytes.replace(at, field.size(), field);
        return bytes;
    };
    PeerMessage decoded;
    PeerWire::Delivery delivery;
    for (const QByteArray& bytes :
         {withField(0, "02001000"), withField(4, "02000000"), withField(28, "01000100")})
        EXPECT_EQ(PeerWire::DecodeMessage(bytes, decoded, delivery), PeerWire::Parse::Invalid)
            << bytes.toHex().data();
}

TEST(PeerWire, AnswersCarryASigned64BitResult) {
    int64_t result = 0;
    const QByteArray answer = PeerWire::EncodeAnswer(-123456789012);
    ASSERT_EQ(answer.size(), PeerWire::kAnswerBytes);
    EXPECT_EQ(PeerWire::DecodeAnswer(answer.first(11), result), PeerWire::Parse::Incomplete);
    ASSERT_EQ(PeerWire::DecodeAnswer(answer, result), PeerWire::Parse::Complete);
    EXPECT_EQ(result, -123456789012);
    EXPECT_EQ(PeerWire::DecodeAnswer(kStartupConfigBytes, result), PeerWire::Parse::Invalid);
}

} // namespace
