#include "app/network/UpdateDescription.h"

#include "platform/ini/PrivateProfile.h"

namespace {

constexpr const char* kSection = "Update";
constexpr size_t kVersionDigits = 9;
constexpr size_t kSizeDigits = 10;

} // namespace

std::optional<uint64_t> UpdateDescription::ParseNumber(std::string_view text, size_t maxDigits) {
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    uint64_t value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(digit - '0');
    }
    return value;
}

bool UpdateDescription::IsPlainFileName(std::string_view name) {
    if (name.empty() || name.size() > kMaxFileNameChars || name.front() == '.')
        return false;
    for (const char c : name) {
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

std::optional<UpdateDescription> UpdateDescription::Read(const std::string& path) {
    const nativeini::PrivateProfile file(path);
    const std::optional<uint64_t> version = ParseNumber(file.ReadString(kSection, "version", ""), kVersionDigits);
    const std::optional<uint64_t> size = ParseNumber(file.ReadString(kSection, "size", ""), kSizeDigits);
    // One character more than a name may have, so that a longer one is seen and refused.
    const std::string name = file.ReadString(kSection, "updatefile", "", kMaxFileNameChars + 1);
    if (!version || !size || *size == 0 || *size > kMaxUpdateBytes || !IsPlainFileName(name))
        return std::nullopt;
    return UpdateDescription{static_cast<uint32_t>(*version), *size, name};
}
