#pragma once
// Browses for the instances of a service type in the default domain, on every interface. Each reply
// (an instance that comes, or one that goes) reaches the handler on the browser's own thread, which
// ends when a result fails or the browser stops.

#include "platform/dnssd/DnsSdApi.h"
#include "platform/dnssd/DnsSdOperation.h"

#include <functional>
#include <string>

namespace nativednssd {

class DnsSdLibrary;

struct BrowseEvent {
    ServiceFlags flags = 0;
    uint32_t interfaceIndex = 0;
    ServiceError error = kNoError;
    std::string name;
    std::string type;
    std::string domain;

    // An instance that came, reported without an error.
    bool IsArrival() const { return error == kNoError && (flags & kFlagAdd) != 0; }
};

class ServiceBrowser {
public:
    // Called on the browser's thread.
    using Handler = std::function<void(const BrowseEvent& event)>;

    ServiceBrowser(const DnsSdLibrary& library, Handler handler)
        : m_library(library), m_handler(std::move(handler)), m_operation(library) {}

    // kNoError once browsing runs; the library's error, or kErrorUnavailable without the library.
    ServiceError Start(const std::string& type);
    void Stop() { m_operation.Stop(); }
    bool IsRunning() const { return m_operation.IsRunning(); }

private:
    static void OnReply(ServiceRef ref, ServiceFlags flags, uint32_t interfaceIndex, ServiceError error,
                        const char* name, const char* type, const char* domain, void* context);

    const DnsSdLibrary& m_library;
    Handler m_handler;
    DnsSdOperation m_operation;
};

} // namespace nativednssd
