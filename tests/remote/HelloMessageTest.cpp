#include "remote/HelloMessage.h"

#include "remote/FoundHost.h"

#include <gtest/gtest.h>

TEST(HelloMessageTest, AProbeNamesThisComputerByAtMost140BytesAndLocal) {
    const std::vector<uint8_t> request =
        HelloMessage::Request(std::string(200, 'h'), HelloMessage::kProbeNameLimit, ".local", "10.0.0.5");
    ASSERT_EQ(request.size(), FoundHost::kRecordSize);
    FoundHost sender;
    ASSERT_TRUE(sender.Read(std::span<const uint8_t, FoundHost::kRecordSize>(request.data(), request.size())));
    EXPECT_EQ(sender.name, std::string(140, 'h') + ".local");
    EXPECT_EQ(sender.address, "10.0.0.5");
    EXPECT_EQ(sender.port, 0);
}

TEST(HelloMessageTest, TheAnswerNamesTheServerAfterItsWord) {
    auto answer = [](const std::string& text) {
        std::vector<uint8_t> bytes = {100, 0, 0, 0};
        bytes.insert(bytes.end(), text.begin(), text.end());
        return bytes;
    };
    const struct {
        std::vector<uint8_t> answer;
        std::optional<std::string> name;
    } cases[] = {
        {answer(std::string("studio.local") + '\0'), "studio.local"},
        {answer("no-nul"), "no-nul"},
        {answer(std::string("cut") + '\0' + "after"), "cut"},
        {answer(std::string(400, 'n')), std::string(149, 'n')},
        {answer(""), ""},
        {{100, 0, 0}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HelloMessage::AnswerName(c.answer), c.name) << c.answer.size();
}
