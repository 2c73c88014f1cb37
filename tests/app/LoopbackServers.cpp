#include "LoopbackServers.h"

#include <random>

namespace {

constexpr int kAttempts = 50;
constexpr uint16_t kFirstPort = 20000;
constexpr uint16_t kPortRange = 20000;

} // namespace

LoopbackServers::LoopbackServers(const std::vector<uint32_t>& addresses) : m_wanted(addresses.size()) {
    std::mt19937 random(std::random_device{}());
    for (int attempt = 0; attempt < kAttempts && !AllListening(); ++attempt) {
        listening.clear();
        port = static_cast<uint16_t>(kFirstPort + random() % kPortRange);
        for (const uint32_t address : addresses) {
            auto server = std::make_unique<ASyncWSocksServer>(address, nullptr);
            server->SetBasePort(port);
            if (server->StartListening() && !server->BindFailed())
                listening.push_back(std::move(server));
        }
    }
}
