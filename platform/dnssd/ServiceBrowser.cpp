#include "platform/dnssd/ServiceBrowser.h"

#include "platform/dnssd/DnsSdLibrary.h"
#include "platform/dnssd/DnsSdText.h"

namespace nativednssd {

ServiceError ServiceBrowser::Start(const std::string& type) {
    if (!m_library.browse || !m_library.HasEventEntries())
        return kErrorUnavailable;
    m_operation.Stop();
    const ServiceError error =
        m_library.browse(m_operation.Slot(), 0, 0, type.c_str(), nullptr, &ServiceBrowser::OnReply, this);
    if (error != kNoError) {
        m_operation.Forget();
        return error;
    }
    m_operation.RunInBackground();
    return kNoError;
}

void ServiceBrowser::OnReply(ServiceRef, ServiceFlags flags, uint32_t interfaceIndex, ServiceError error,
                             const char* name, const char* type, const char* domain, void* context) {
    auto* browser = static_cast<ServiceBrowser*>(context);
    browser->m_handler(BrowseEvent{flags, interfaceIndex, error, BoundedText(name), BoundedText(type),
                                   BoundedText(domain)});
}

} // namespace nativednssd
