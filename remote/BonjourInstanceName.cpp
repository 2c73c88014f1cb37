#include "remote/BonjourInstanceName.h"

#include "platform/sockets/HostAddresses.h"
#include "remote/HelloMessage.h"

std::optional<FoundHost> BonjourInstanceName::AddressForm(const std::string& instance) {
    const size_t dash = instance.find('-');
    if (dash == std::string::npos)
        return std::nullopt;
    const auto address = nativesockets::ParseIPv4(instance.substr(0, dash));
    if (!address)
        return std::nullopt;
    return FoundHost{instance.substr(dash + 1), nativesockets::FormatIPv4(*address), 0};
}

std::optional<FoundHost> BonjourInstanceName::ToHost(const std::string& instance, const Resolver& resolve) {
    if (auto host = AddressForm(instance))
        return host;
    const std::string localName = instance + HelloMessage::kLocalDomain;
    auto address = resolve(instance);
    if (!address)
        address = resolve(localName);
    if (!address)
        return std::nullopt;
    return FoundHost{localName, nativesockets::FormatIPv4(*address), 0};
}
