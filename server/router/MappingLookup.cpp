#include "server/router/MappingLookup.h"

#include <bitset>

namespace {

constexpr size_t kPortCount = size_t(UINT16_MAX) + 1;

bool IsMappingOf(const PortMapping& mapping, const std::string& client, uint16_t port) {
    return mapping.IsEnabledTcp() && mapping.internalClient == client && PortMapping::ParsePort(mapping.internalPort) == port &&
           PortMapping::ParsePort(mapping.externalPort).has_value();
}

std::optional<uint16_t> FirstFreePort(std::span<const PortMapping> mappings, uint16_t from) {
    std::bitset<kPortCount> taken;
    for (const PortMapping& mapping : mappings) {
        if (const auto external = PortMapping::ParsePort(mapping.externalPort))
            taken.set(*external);
    }
    for (size_t candidate = from; candidate < kPortCount; ++candidate) {
        if (!taken.test(candidate))
            return static_cast<uint16_t>(candidate);
    }
    return std::nullopt;
}

} // namespace

MappingLookupResult MappingLookup::Find(std::span<const PortMapping> mappings, const std::string& client,
                                        uint16_t port) {
    MappingLookupResult result;
    for (const PortMapping& mapping : mappings) {
        if (!IsMappingOf(mapping, client, port))
            continue;
        result.found = true;
        result.externalPort = *PortMapping::ParsePort(mapping.externalPort);
        result.externalAddress = mapping.externalIPAddress;
    }
    if (!result.found)
        result.proposedPort = FirstFreePort(mappings, port);
    return result;
}
