#include "platform/dnssd/ServiceResolver.h"

#include "platform/dnssd/DnsSdLibrary.h"
#include "platform/dnssd/DnsSdOperation.h"
#include "platform/dnssd/DnsSdText.h"

#include <arpa/inet.h>

namespace nativednssd {
namespace {

struct ResolveAnswer {
    bool answered = false;
    ServiceError error = kNoError;
    ResolvedService service;
};

void OnResolved(ServiceRef, ServiceFlags, uint32_t, ServiceError error, const char*, const char* hostTarget,
                uint16_t portNetworkOrder, uint16_t, const unsigned char*, void* context) {
    auto* answer = static_cast<ResolveAnswer*>(context);
    answer->answered = true;
    answer->error = error;
    answer->service = ResolvedService{BoundedText(hostTarget), ntohs(portNetworkOrder)};
}

} // namespace

std::optional<ResolvedService> ServiceResolver::Resolve(const DnsSdLibrary& library, const std::string& name,
                                                        const std::string& type, const std::string& domain,
                                                        uint32_t interfaceIndex, int timeoutMs) {
    if (!library.resolve || !library.HasEventEntries())
        return std::nullopt;
    DnsSdOperation operation(library);
    ResolveAnswer answer;
    if (library.resolve(operation.Slot(), 0, interfaceIndex, name.c_str(), type.c_str(), domain.c_str(),
                        &OnResolved, &answer) != kNoError) {
        operation.Forget();
        return std::nullopt;
    }
    if (!operation.RunUntil(nativesockets::Deadline::AfterMs(timeoutMs), [&] { return answer.answered; }) ||
        answer.error != kNoError)
        return std::nullopt;
    return answer.service;
}

} // namespace nativednssd
