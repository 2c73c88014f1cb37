#pragma once
// Resolves one instance of a service to the host that offers it and its port, waiting on the calling
// thread for the first answer within a time limit.

#include "platform/dnssd/DnsSdApi.h"

#include <cstdint>
#include <optional>
#include <string>

namespace nativednssd {

class DnsSdLibrary;

struct ResolvedService {
    std::string hostTarget;
    uint16_t port = 0; // host order
};

class ServiceResolver {
public:
    // Nothing when the library is missing, refuses, answers with an error or not within `timeoutMs`.
    static std::optional<ResolvedService> Resolve(const DnsSdLibrary& library, const std::string& name,
                                                  const std::string& type, const std::string& domain,
                                                  uint32_t interfaceIndex, int timeoutMs);
};

} // namespace nativednssd
