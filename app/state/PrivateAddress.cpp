#include "app/state/PrivateAddress.h"

#include "platform/sockets/HostAddresses.h"

#include <array>
#include <cstdint>

namespace {

struct Block {
    uint32_t network;
    int prefixLength;
};

constexpr uint32_t Network(uint32_t a, uint32_t b) {
    return (a << 24) | (b << 16);
}

constexpr std::array kPrivateBlocks = {
    Block{Network(10, 0), 8},    Block{Network(172, 16), 12}, Block{Network(192, 168), 16},
    Block{Network(100, 64), 10}, Block{Network(169, 254), 16}, Block{Network(127, 0), 8},
};

} // namespace

bool IsPrivateIPv4(const std::string& address) {
    const auto parsed = nativesockets::ParseIPv4(address);
    if (!parsed)
        return false;
    for (const Block& block : kPrivateBlocks) {
        const uint32_t mask = ~uint32_t{0} << (32 - block.prefixLength);
        if ((*parsed & mask) == block.network)
            return true;
    }
    return false;
}
