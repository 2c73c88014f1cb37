#include "remote/FoundHost.h"

#include "foundation/ByteOrder.h"
#include "platform/sockets/HostAddresses.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kAddressOffset = FoundHost::kNameSize;
constexpr size_t kPortOffset = FoundHost::kNameSize + FoundHost::kAddressSize;

// The text up to the first NUL of a field, leaving room for the NUL that ends it.
std::string FieldText(std::span<const uint8_t> field) {
    const auto* text = reinterpret_cast<const char*>(field.data());
    return std::string(text, strnlen(text, field.size() - 1));
}

void PutField(std::span<uint8_t> field, const std::string& text) {
    std::fill(field.begin(), field.end(), 0);
    std::memcpy(field.data(), text.data(), std::min(text.size(), field.size() - 1));
}

} // namespace

void FoundHost::Write(std::span<uint8_t, kRecordSize> out) const {
    PutField(out.subspan(0, kNameSize), name);
    PutField(out.subspan(kAddressOffset, kAddressSize), address);
    StoreLE16(out.data() + kPortOffset, port);
}

bool FoundHost::Read(std::span<const uint8_t, kRecordSize> in) {
    const std::string readAddress = CanonicalAddress(FieldText(in.subspan(kAddressOffset, kAddressSize)));
    if (readAddress.empty())
        return false;
    name = FieldText(in.subspan(0, kNameSize));
    address = readAddress;
    port = LoadLE16(in.data() + kPortOffset);
    return true;
}

std::string FoundHost::CanonicalAddress(const std::string& text) {
    const auto parsed = nativesockets::ParseIPv4(text);
    return parsed ? nativesockets::FormatIPv4(*parsed) : std::string();
}
