#pragma once
// Finds this computer's mapping among the router's, or the external port to ask for when it has none.

#include "server/router/PortMapping.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct MappingLookupResult {
    bool found = false;
    uint16_t externalPort = 0;   // of the mapping found
    std::string externalAddress; // of the mapping found
    // When none was found: the first external port from the listening port up that no mapping of any
    // protocol uses; none when every one up to 65535 is taken.
    std::optional<uint16_t> proposedPort;
};

class MappingLookup {
public:
    // This computer's mapping is an enabled TCP mapping to `client` on `port`; the last one listed wins.
    static MappingLookupResult Find(std::span<const PortMapping> mappings, const std::string& client, uint16_t port);
};
