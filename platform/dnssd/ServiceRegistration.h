#pragma once
// Announces a service of this computer: registered under the computer's own name, on every interface,
// in the default domain, with no text record, until it is withdrawn. The library's answer (the name it
// took, or a conflict) reaches the handler on the registration's own thread.

#include "platform/dnssd/DnsSdApi.h"
#include "platform/dnssd/DnsSdOperation.h"

#include <functional>
#include <string>

namespace nativednssd {

class DnsSdLibrary;

class ServiceRegistration {
public:
    using Handler = std::function<void(ServiceError error, const std::string& name)>;

    explicit ServiceRegistration(const DnsSdLibrary& library, Handler handler = {})
        : m_library(library), m_handler(std::move(handler)), m_operation(library) {}

    // `port` in host order; it is announced in network order. An earlier registration is withdrawn
    // first. kNoError, the library's error, or kErrorUnavailable without the library.
    ServiceError Register(const std::string& type, uint16_t port);
    void Withdraw() { m_operation.Stop(); }
    bool IsRegistered() const { return m_operation.HasRef(); }

private:
    static void OnReply(ServiceRef ref, ServiceFlags flags, ServiceError error, const char* name,
                        const char* type, const char* domain, void* context);

    const DnsSdLibrary& m_library;
    Handler m_handler;
    DnsSdOperation m_operation;
};

} // namespace nativednssd
