#pragma once
// Texts that a DNS-SD library hands over, taken with a bound: a DNS name is at most 1009 bytes in its
// escaped form, so anything longer is cut there; a null pointer is an empty text.

#include <string>

namespace nativednssd {

constexpr size_t kMaxDomainNameText = 1009;

std::string BoundedText(const char* text);

} // namespace nativednssd
