#pragma once
// IPv4 addresses and host names as the operating system knows them. Addresses are in host order.

#include <cstdint>
#include <optional>
#include <string>

namespace nativesockets {

// Only the four-part dotted form, each part 0 to 255 ("10.0.0.1"); nothing else is an address.
std::optional<uint32_t> ParseIPv4(const std::string& text);
// "%d.%d.%d.%d".
std::string FormatIPv4(uint32_t address);
// A dotted address, or a host name looked up by the name service (its first IPv4 address).
std::optional<uint32_t> ResolveIPv4(const std::string& host);
// The host's own name (gethostname).
std::string GetHostName();
// The address of the first interface that is up and not loopback; none when there is no such one.
std::optional<uint32_t> GetLocalIPv4();

} // namespace nativesockets
