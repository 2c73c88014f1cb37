#include "remote/HelloMessage.h"

#include "remote/FoundHost.h"

#include <algorithm>

namespace {

constexpr size_t kAnswerWordSize = 4;

} // namespace

std::vector<uint8_t> HelloMessage::Request(const std::string& hostName, size_t nameLimit, const std::string& suffix,
                                           const std::string& addressText) {
    const FoundHost sender{hostName.substr(0, std::min(hostName.size(), nameLimit)) + suffix, addressText, 0};
    std::vector<uint8_t> record(FoundHost::kRecordSize);
    sender.Write(std::span<uint8_t, FoundHost::kRecordSize>(record.data(), record.size()));
    return record;
}

std::optional<std::string> HelloMessage::AnswerName(std::span<const uint8_t> answer) {
    if (answer.size() < kAnswerWordSize)
        return std::nullopt;
    const std::span<const uint8_t> text =
        answer.subspan(kAnswerWordSize, std::min(answer.size() - kAnswerWordSize, FoundHost::kMaxNameLength));
    const auto end = std::find(text.begin(), text.end(), uint8_t{0});
    return std::string(text.begin(), end);
}
