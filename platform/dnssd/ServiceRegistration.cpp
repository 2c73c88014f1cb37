#include "platform/dnssd/ServiceRegistration.h"

#include "platform/dnssd/DnsSdLibrary.h"
#include "platform/dnssd/DnsSdText.h"

#include <arpa/inet.h>

namespace nativednssd {

ServiceError ServiceRegistration::Register(const std::string& type, uint16_t port) {
    if (!m_library.registerService || !m_library.HasEventEntries())
        return kErrorUnavailable;
    m_operation.Stop();
    const ServiceError error = m_library.registerService(m_operation.Slot(), 0, 0, nullptr, type.c_str(), nullptr,
                                                         nullptr, htons(port), 0, nullptr,
                                                         &ServiceRegistration::OnReply, this);
    if (error != kNoError) {
        m_operation.Forget();
        return error;
    }
    m_operation.RunInBackground();
    return kNoError;
}

void ServiceRegistration::OnReply(ServiceRef, ServiceFlags, ServiceError error, const char* name, const char*,
                                  const char*, void* context) {
    auto* registration = static_cast<ServiceRegistration*>(context);
    if (registration->m_handler)
        registration->m_handler(error, BoundedText(name));
}

} // namespace nativednssd
