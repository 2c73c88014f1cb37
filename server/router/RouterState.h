#pragma once
// What the server program knows of its mapping on the router: whether one was ever found (never
// cleared again), and the external port and address of the last one found. A lookup that finds none
// empties the address.

#include <cstdint>
#include <string>

struct RouterState {
    bool mapped = false;
    int32_t externalPort = 0;
    std::string externalAddress;
};
