#pragma once
// The values of the shared settings key that the server program reads (and never writes). A value
// that is missing, or not four bytes long, takes its default.

#include <cstdint>
#include <string>

namespace nativesettings {
class SettingsKey;
}

struct HelperSettings {
    static constexpr uint16_t kDefaultPort = 10564;

    bool startServer = true;
    uint16_t serverPort = kDefaultPort;
    bool manageIPods = false;
    bool manageShuffles = false;
    bool portForwarding = false;
    // The router's description address; empty: the router is found on the local network.
    std::string gatewayDescription;

    static HelperSettings Load(const nativesettings::SettingsKey& key);
    // The listening port of a stored value: outside 1..65534 the probe port beside it could not exist.
    static uint16_t PortOf(uint32_t value);
};
