#pragma once
// The hello of the remote link, by which the scan and the connect dialog ask a server for its name:
// the request carries the sender's own 172-byte FoundHost record; the answer, u32 100 and the server's
// name ending in a NUL.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

class HelloMessage {
public:
    // A scan probe names this computer by at most 140 bytes of its host name and ".local"; a direct
    // query by its bare host name.
    static constexpr size_t kProbeNameLimit = 140;
    static constexpr char kLocalDomain[] = ".local";

    // The sender's record: its host name (cut to `nameLimit`, then `suffix` appended), its address text.
    static std::vector<uint8_t> Request(const std::string& hostName, size_t nameLimit, const std::string& suffix,
                                        const std::string& addressText);
    // The server's name in an answer: the bytes after the first four, up to a NUL or the 149 bytes a
    // record's name can hold. None when the answer is shorter than its word.
    static std::optional<std::string> AnswerName(std::span<const uint8_t> answer);
};
