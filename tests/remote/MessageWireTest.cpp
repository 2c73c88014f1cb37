#include "MemoryChannel.h"
#include "TestBytes.h"
#include "foundation/ByteOrder.h"
#include "remote/LinkCodes.h"
#include "remote/MessageReader.h"
#include "remote/MessageWriter.h"
#include "remote/PayloadPacking.h"
#include "remote/WireMessage.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using nativesockets::Deadline;

namespace {

std::string Text(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

std::string Sent(int code, const std::vector<uint8_t>& payload, uint32_t emptyWord, bool pack = false) {
    MemoryChannel channel;
    EXPECT_EQ(MessageWriter::SendMessage(channel, code, payload, emptyWord, pack, nullptr, -1), 0);
    return Text(channel.written);
}

std::string SentAnswer(const WireMessage& answer) {
    return Sent(answer.code, answer.payload, MessageWriter::kEmptyAnswerWord, answer.pack);
}

struct Received {
    int result = 0;
    WireHeader header;
    std::vector<uint8_t> payload;
};

Received Receive(const std::vector<uint8_t>& wire, size_t chunk = SIZE_MAX) {
    MemoryChannel channel(wire, chunk);
    MessageReader reader(channel);
    Received received;
    received.result = reader.ReadHeader(received.header, Deadline::Never());
    if (received.result == 0)
        received.result = reader.ReadPayload(received.header, received.payload, -1, nullptr);
    return received;
}

// A hand-made header, each field as the wire spells it.
std::string Header(const std::string& code, const std::string& raw, const std::string& base64,
                   const std::string& checksum, const std::string& flag = "00") {
    const auto field = [](const std::string& text, size_t width) {
        return std::string(width - text.size(), ' ') + text;
    };
    return field(code, 10) + field(raw, 10) + field(base64, 10) + field(checksum, 6) + flag;
}

} // namespace

TEST(MessageWireTest, ARequestWithoutPayloadCarriesTheWord100564) {
    EXPECT_EQ(Sent(linkcodes::kGetRemotePlayLists, {}, MessageWriter::kEmptyRequestWord),
              Header("1004", "4", "8", "30506") + "1IgBAA==");
}

TEST(MessageWireTest, AnswersOfTheSystemHaveTheseExactBytes) {
    EXPECT_EQ(SentAnswer(WireMessage::Success({})), Header("0", "4", "8", "65535") + "AAAAAA==")
        << "an empty answer";
    EXPECT_EQ(SentAnswer(WireMessage::Status(-1, static_cast<uint32_t>(-8997))),
              Header("-1", "4", "8", "8996") + "29z//w==")
        << "the busy answer of the playlist request";
    EXPECT_EQ(SentAnswer(WireMessage::EchoOf(4242, Bytes("hi!"))),
              Header("-4242", "3", "4", "38551") + "aGkh")
        << "an unknown code comes back negated with its payload";
}

TEST(MessageWireTest, PayloadsOver1536BytesGoInPiecesThatCarryMinusTheTotal) {
    const struct {
        size_t length;
        std::vector<std::pair<std::string, std::string>> pieces; // raw length, Base64 length
    } cases[] = {
        {1536, {{"1536", "2048"}}},
        {1537, {{"-1537", "2048"}, {"1", "4"}}},
        {3072, {{"-3072", "2048"}, {"1536", "2048"}}},
        {3073, {{"-3073", "2048"}, {"-3073", "2048"}, {"1", "4"}}},
    };
    for (const auto& example : cases) {
        const std::vector<uint8_t> payload = RandomBytes(example.length, 11);
        const std::string wire = Sent(77, payload, MessageWriter::kEmptyRequestWord);
        size_t offset = 0;
        for (const auto& [raw, base64] : example.pieces) {
            ASSERT_LE(offset + 38, wire.size());
            const std::string header = wire.substr(offset, 38);
            EXPECT_EQ(header.substr(10, 10), std::string(10 - raw.size(), ' ') + raw) << example.length;
            EXPECT_EQ(header.substr(20, 10), std::string(10 - base64.size(), ' ') + base64) << example.length;
            EXPECT_EQ(header.substr(0, 10), "        77");
            EXPECT_EQ(header.substr(30), wire.substr(30, 8)) << "every piece repeats checksum and flag";
            offset += 38 + std::stoul(base64);
        }
        EXPECT_EQ(offset, wire.size()) << example.length;
    }
}

TEST(MessageWireTest, TheReaderTakesBackWhatTheWriterSent) {
    std::string listing;
    for (int i = 0; i < 2000; ++i)
        listing += "\\Pop\\Someone\\Record\\Song " + std::to_string(i) + ".mp3?" + std::to_string(i);
    const struct {
        std::vector<uint8_t> payload;
        bool pack;
    } cases[] = {
        {Bytes("x"), false},           {RandomBytes(1536, 1), false},
        {RandomBytes(1537, 2), false}, {RandomBytes(200000, 3), false},
        {Bytes(listing), true},        {RandomBytes(5000, 4), true}, // does not shrink: goes plain
    };
    for (const auto& example : cases) {
        MemoryChannel channel;
        ASSERT_EQ(MessageWriter::SendMessage(channel, -3, example.payload, 0, example.pack, nullptr, -1), 0);
        // One byte at a time and all at once.
        for (const size_t chunk : {size_t(1), SIZE_MAX}) {
            const Received received = Receive(channel.written, chunk);
            ASSERT_EQ(received.result, 0) << example.payload.size();
            EXPECT_EQ(received.header.code, -3);
            EXPECT_EQ(received.payload, example.payload);
        }
    }
    MemoryChannel packed;
    MessageWriter::SendMessage(packed, 1005, Bytes(listing), 0, true, nullptr, -1);
    EXPECT_LT(packed.written.size(), listing.size() / 4) << "the song list shrinks";
    EXPECT_EQ(packed.written[37], '1');
}

TEST(MessageWireTest, TheReaderRefusesHostileMessages) {
    const std::vector<uint8_t> piece = RandomBytes(1536, 5);
    MemoryChannel pieceChannel;
    MessageWriter::SendFramed(pieceChannel, 9, piece, false, nullptr, -1);
    const std::string pieceText = Text(pieceChannel.written).substr(38);
    const std::string checksum = Text(pieceChannel.written).substr(30, 6);
    const std::string trimmed = checksum.substr(checksum.find_first_not_of(' '));
    const struct {
        std::string wire;
        int result;
        const char* why;
    } cases[] = {
        {Header("9", "3", "4", "0") + "aGkh", 0, "sound, no checksum given"},
        {Header("9", "3", "4", "38551") + "aGkh", 0, "sound, with its checksum"},
        {Header("9", "3", "4", "38552") + "aGkh", -1, "a checksum that differs"},
        {Header("9", "3", "8", "0") + "aGkhaGkh", -1, "a Base64 length that does not match"},
        {Header("9", "3", "0", "0"), -1, "a raw length without text"},
        {Header("9", "3", "4", "0") + "aG!h", -1, "a character outside the alphabet"},
        {Header("9", "3", "4", "0") + "aGk", -1, "the connection ends inside the payload"},
        {Header("9", "2000", "2668", "0") + std::string(2668, 'A'), -1, "an unsplit payload over 1536 bytes"},
        {Header("9", "-1000", "2048", "0") + pieceText, -1, "a split total that fits one piece"},
        {Header("9", "-1537", "2048", trimmed) + pieceText + Header("9", "2", "4", trimmed) + "AAA=", -1,
         "a last piece that runs past the total"},
        {Header("9", "-3072", "2048", trimmed) + pieceText + Header("9", "-3072", "2048", trimmed) +
             pieceText,
         -1, "a middle piece that reaches the total"},
        {Header("9", "-1537", "2048", trimmed) + pieceText + Header("8", "1", "4", trimmed) + "AA==", -1,
         "a piece of another message"},
        {Header("9", "-999999999", "2048", trimmed) + pieceText, -1, "a huge total whose pieces never come"},
        {Header("9", "3", "4", "0", "01") + "aGkh", -1, "a packed payload that does not unpack"},
        {Header("9", "3", "4", "0").substr(0, 20), -10571, "a short header"},
        {Header("nine", "3", "4", "0") + "aGkh", -1, "a malformed header"},
    };
    for (const auto& hostile : cases) {
        const Received received = Receive(Bytes(hostile.wire));
        EXPECT_EQ(received.result, hostile.result) << hostile.why;
        // Nothing is allocated ahead of the data from what the peer claims.
        EXPECT_LT(received.payload.capacity(), size_t(1) << 20) << hostile.why;
    }
}
