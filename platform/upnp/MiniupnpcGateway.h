#pragma once
// The Internet gateway through miniupnpc: found from its description URL, or by SSDP discovery on the
// local network when no URL is given.

#include "platform/upnp/InternetGateway.h"

#include <memory>
#include <string>

namespace nativeupnp {

class MiniupnpcGateway : public InternetGateway {
public:
    static constexpr int kDiscoveryMs = 2000;

    // The gateway described at `descriptionUrl`, or the first one that answers a discovery; none when
    // there is no gateway device.
    static std::unique_ptr<InternetGateway> Find(const std::string& descriptionUrl);
    ~MiniupnpcGateway() override;

    GatewayDescription Description() const override;
    std::string ExternalIPAddress() override;
    unsigned MappingCount() override;
    bool MappingAt(unsigned index, GatewayMapping& mapping) override;
    bool AddMapping(uint16_t externalPort, uint16_t internalPort, const std::string& internalClient,
                    const std::string& protocol, const std::string& description) override;
    bool DeleteMapping(uint16_t externalPort, const std::string& protocol) override;

private:
    struct State;
    explicit MiniupnpcGateway(std::unique_ptr<State> state);

    std::unique_ptr<State> m_state;
};

} // namespace nativeupnp
