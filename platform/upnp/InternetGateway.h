#pragma once
// The home router as a UPnP Internet gateway device: its WAN connection service, asked for its
// external address and its port mappings. Every answer comes from the network and is untrusted: texts
// arrive cut to the sizes the protocol gives them. Calls block until the router answers or its time
// limits pass; one object may be used by several threads at once.

#include <cstdint>
#include <string>

namespace nativeupnp {

// One port mapping as the router lists it; the ports and the enabled flag as the router wrote them.
struct GatewayMapping {
    std::string externalPort;
    std::string internalPort;
    std::string protocol;
    std::string internalClient;
    std::string enabled; // "1" or "0"
    std::string description;
};

// What is known of the device from its description.
struct GatewayDescription {
    std::string descriptionUrl;
    std::string controlUrl;
    std::string serviceType;
    std::string presentationUrl;
    std::string lanAddress; // this computer's address toward the router
};

class InternetGateway {
public:
    virtual ~InternetGateway() = default;

    virtual GatewayDescription Description() const = 0;
    // The external address as the router gives it (not checked); empty when it does not answer.
    virtual std::string ExternalIPAddress() = 0;
    // The number of mappings the router claims, 0 when it does not say.
    virtual unsigned MappingCount() = 0;
    // The mapping at `index`: false past the end of the list, or when the router fails.
    virtual bool MappingAt(unsigned index, GatewayMapping& mapping) = 0;
    // Adds (or renews) a permanent mapping; false when the router refuses.
    virtual bool AddMapping(uint16_t externalPort, uint16_t internalPort, const std::string& internalClient,
                            const std::string& protocol, const std::string& description) = 0;
    virtual bool DeleteMapping(uint16_t externalPort, const std::string& protocol) = 0;
};

} // namespace nativeupnp
