#include "platform/dnssd/DnsSdText.h"

#include <cstring>

namespace nativednssd {

std::string BoundedText(const char* text) {
    if (!text)
        return std::string();
    return std::string(text, strnlen(text, kMaxDomainNameText));
}

} // namespace nativednssd
