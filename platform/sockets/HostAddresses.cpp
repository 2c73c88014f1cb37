#include "platform/sockets/HostAddresses.h"

#include <arpa/inet.h>
#include <climits>
#include <cstdio>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace nativesockets {

std::optional<uint32_t> ParseIPv4(const std::string& text) {
    in_addr parsed{};
    // inet_pton takes nothing but the strict dotted-decimal form (no octal, no short forms).
    if (text.size() > INET_ADDRSTRLEN || inet_pton(AF_INET, text.c_str(), &parsed) != 1)
        return std::nullopt;
    return ntohl(parsed.s_addr);
}

std::string FormatIPv4(uint32_t address) {
    char text[INET_ADDRSTRLEN];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFF,
                  (address >> 8) & 0xFF, address & 0xFF);
    return text;
}

std::optional<uint32_t> ResolveIPv4(const std::string& host) {
    if (const auto dotted = ParseIPv4(host))
        return dotted;
    if (host.empty())
        return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found)
        return std::nullopt;
    const uint32_t address = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    freeaddrinfo(found);
    return address;
}

std::string GetHostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return std::string();
    return name;
}

std::optional<uint32_t> GetLocalIPv4() {
    ifaddrs* interfaces = nullptr;
    if (getifaddrs(&interfaces) != 0)
        return std::nullopt;
    std::optional<uint32_t> address;
    for (const ifaddrs* entry = interfaces; entry && !address; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        if (!(entry->ifa_flags & IFF_UP) || (entry->ifa_flags & IFF_LOOPBACK))
            continue;
        address = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
    }
    freeifaddrs(interfaces);
    return address;
}

} // namespace nativesockets
