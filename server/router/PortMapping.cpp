#include "server/router/PortMapping.h"

#include "platform/sockets/HostAddresses.h"
#include "platform/upnp/InternetGateway.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr size_t kMaxPortDigits = 5;
constexpr char kRouterEnabled[] = "1";

} // namespace

PortMapping PortMapping::FromGateway(const nativeupnp::GatewayMapping& entry, const std::string& externalAddress) {
    const auto address = nativesockets::ParseIPv4(externalAddress);
    return PortMapping{address ? nativesockets::FormatIPv4(*address) : std::string(),
                       entry.externalPort,
                       entry.internalPort,
                       entry.protocol,
                       entry.internalClient,
                       entry.enabled == kRouterEnabled ? kYes : kNo,
                       entry.description};
}

std::optional<uint16_t> PortMapping::ParsePort(std::string_view text) {
    if (text.empty() || text.size() > kMaxPortDigits ||
        !std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return std::nullopt;
    unsigned value = 0;
    for (const char digit : text)
        value = value * 10 + static_cast<unsigned>(digit - '0');
    if (value > UINT16_MAX)
        return std::nullopt;
    return static_cast<uint16_t>(value);
}
