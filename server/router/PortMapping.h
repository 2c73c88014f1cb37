#pragma once
// One port mapping of the home router, as the port-forward engine lists and adds them: seven texts, in
// this order. The ports are decimal texts; Enabled is "Yes" or "No".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nativeupnp {
struct GatewayMapping;
}

struct PortMapping {
    static constexpr char kYes[] = "Yes";
    static constexpr char kNo[] = "No";
    static constexpr char kTcp[] = "TCP";

    std::string externalIPAddress;
    std::string externalPort;
    std::string internalPort;
    std::string protocol;
    std::string internalClient;
    std::string enabled;
    std::string description;

    // The router's entry with the router's external address, which is kept only when it is a dotted
    // IPv4 address.
    static PortMapping FromGateway(const nativeupnp::GatewayMapping& entry, const std::string& externalAddress);
    // A port as the protocol writes it: one to five decimal digits, 0 to 65535; nothing else.
    static std::optional<uint16_t> ParsePort(std::string_view text);

    // A TCP mapping that the router has enabled.
    bool IsEnabledTcp() const { return protocol == kTcp && enabled == kYes; }
};
