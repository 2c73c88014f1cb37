#include "platform/upnp/MiniupnpcGateway.h"

#include <miniupnpc/miniupnpc.h>
#include <miniupnpc/upnpcommands.h>

#include <cstring>
#include <string>

namespace nativeupnp {
namespace {

// The buffer sizes that miniupnpc documents for its answers.
constexpr size_t kAddressBuffer = 16;
constexpr size_t kPortBuffer = 6;
constexpr size_t kProtocolBuffer = 4;
constexpr size_t kDescriptionBuffer = 80;
constexpr size_t kEnabledBuffer = 4;
constexpr size_t kRemoteHostBuffer = 64;
constexpr size_t kDurationBuffer = 16;
constexpr size_t kLanAddressBuffer = 64;
constexpr char kPermanentLease[] = "0";
constexpr unsigned char kDiscoveryTtl = 2;
// UPNP_GetValidIGD's answers that name a gateway device, connected or not.
constexpr int kConnectedGateway = 1;
constexpr int kDisconnectedGateway = 2;

std::string Text(const char* buffer, size_t size) {
    return std::string(buffer, strnlen(buffer, size));
}

} // namespace

struct MiniupnpcGateway::State {
    UPNPUrls urls{};
    IGDdatas data{};
    char lanAddress[kLanAddressBuffer] = {};
    std::string descriptionUrl;

    ~State() { FreeUPNPUrls(&urls); }
    const char* Control() const { return urls.controlURL; }
    const char* Service() const { return data.first.servicetype; }
};

std::unique_ptr<InternetGateway> MiniupnpcGateway::Find(const std::string& descriptionUrl) {
    auto state = std::make_unique<State>();
    if (!descriptionUrl.empty()) {
        if (UPNP_GetIGDFromUrl(descriptionUrl.c_str(), &state->urls, &state->data, state->lanAddress,
                               sizeof state->lanAddress) != 1)
            return nullptr;
        state->descriptionUrl = descriptionUrl;
    } else {
        int error = 0;
        UPNPDev* devices = upnpDiscover(kDiscoveryMs, nullptr, nullptr, 0, 0, kDiscoveryTtl, &error);
        const int found = devices ? UPNP_GetValidIGD(devices, &state->urls, &state->data, state->lanAddress,
                                                     sizeof state->lanAddress)
                                  : 0;
        if (devices && (found == kConnectedGateway || found == kDisconnectedGateway))
            state->descriptionUrl = devices->descURL;
        freeUPNPDevlist(devices);
        if (found != kConnectedGateway && found != kDisconnectedGateway)
            return nullptr;
    }
    if (!state->urls.controlURL || !*state->urls.controlURL)
        return nullptr;
    return std::unique_ptr<InternetGateway>(new MiniupnpcGateway(std::move(state)));
}

MiniupnpcGateway::MiniupnpcGateway(std::unique_ptr<State> state) : m_state(std::move(state)) {}

MiniupnpcGateway::~MiniupnpcGateway() = default;

GatewayDescription MiniupnpcGateway::Description() const {
    const State& state = *m_state;
    return GatewayDescription{state.descriptionUrl, Text(state.urls.controlURL, MINIUPNPC_URL_MAXSIZE),
                              Text(state.data.first.servicetype, MINIUPNPC_URL_MAXSIZE),
                              Text(state.data.presentationurl, MINIUPNPC_URL_MAXSIZE),
                              Text(state.lanAddress, sizeof state.lanAddress)};
}

std::string MiniupnpcGateway::ExternalIPAddress() {
    char address[kAddressBuffer] = {};
    if (UPNP_GetExternalIPAddress(m_state->Control(), m_state->Service(), address) != UPNPCOMMAND_SUCCESS)
        return std::string();
    return Text(address, sizeof address);
}

unsigned MiniupnpcGateway::MappingCount() {
    unsigned count = 0;
    if (UPNP_GetPortMappingNumberOfEntries(m_state->Control(), m_state->Service(), &count) != UPNPCOMMAND_SUCCESS)
        return 0;
    return count;
}

bool MiniupnpcGateway::MappingAt(unsigned index, GatewayMapping& mapping) {
    char externalPort[kPortBuffer] = {};
    char internalClient[kAddressBuffer] = {};
    char internalPort[kPortBuffer] = {};
    char protocol[kProtocolBuffer] = {};
    char description[kDescriptionBuffer] = {};
    char enabled[kEnabledBuffer] = {};
    char remoteHost[kRemoteHostBuffer] = {};
    char duration[kDurationBuffer] = {};
    const std::string indexText = std::to_string(index);
    if (UPNP_GetGenericPortMappingEntry(m_state->Control(), m_state->Service(), indexText.c_str(), externalPort,
                                        internalClient, internalPort, protocol, description, enabled, remoteHost,
                                        duration) != UPNPCOMMAND_SUCCESS)
        return false;
    mapping = GatewayMapping{Text(externalPort, sizeof externalPort),     Text(internalPort, sizeof internalPort),
                             Text(protocol, sizeof protocol),             Text(internalClient, sizeof internalClient),
                             Text(enabled, sizeof enabled),               Text(description, sizeof description)};
    return true;
}

bool MiniupnpcGateway::AddMapping(uint16_t externalPort, uint16_t internalPort, const std::string& internalClient,
                                  const std::string& protocol, const std::string& description) {
    const std::string external = std::to_string(externalPort);
    const std::string internal = std::to_string(internalPort);
    return UPNP_AddPortMapping(m_state->Control(), m_state->Service(), external.c_str(), internal.c_str(),
                               internalClient.c_str(), description.c_str(), protocol.c_str(), nullptr,
                               kPermanentLease) == UPNPCOMMAND_SUCCESS;
}

bool MiniupnpcGateway::DeleteMapping(uint16_t externalPort, const std::string& protocol) {
    const std::string external = std::to_string(externalPort);
    return UPNP_DeletePortMapping(m_state->Control(), m_state->Service(), external.c_str(), protocol.c_str(),
                                  nullptr) == UPNPCOMMAND_SUCCESS;
}

} // namespace nativeupnp
