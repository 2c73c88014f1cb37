#pragma once
// The update server's description of the latest version ("up.ini", section "Update"): its version
// number, the size of its update file and that file's name. It comes from the network, so it is read
// strictly: numbers are plain decimal digits, the size is bounded, and the file name is one plain
// name that stays in the folder it is downloaded into.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct UpdateDescription {
    static constexpr size_t kMaxFileNameChars = 400;
    static constexpr uint64_t kMaxUpdateBytes = uint64_t{1} << 30;

    uint32_t version = 0;
    uint64_t size = 0;
    std::string updateFile;

    // The description in the file; none when a value is missing or not as it must be.
    static std::optional<UpdateDescription> Read(const std::string& path);

    // Decimal digits only, at most `maxDigits` of them.
    static std::optional<uint64_t> ParseNumber(std::string_view text, size_t maxDigits);
    // One name without folders, not "." or "..", without a leading dot or control characters.
    static bool IsPlainFileName(std::string_view name);
};
