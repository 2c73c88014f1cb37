#include "platform/dnssd/DnsSdLibrary.h"

#include <dlfcn.h>

namespace nativednssd {
namespace {

template <typename Function>
void Bind(void* handle, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
}

} // namespace

DnsSdLibrary::DnsSdLibrary(const std::string& file)
    : m_handle(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {
    if (!m_handle)
        return;
    Bind(m_handle, "DNSServiceBrowse", browse);
    Bind(m_handle, "DNSServiceRegister", registerService);
    Bind(m_handle, "DNSServiceResolve", resolve);
    Bind(m_handle, "DNSServiceProcessResult", processResult);
    Bind(m_handle, "DNSServiceRefSockFD", refSockFD);
    Bind(m_handle, "DNSServiceRefDeallocate", refDeallocate);
}

} // namespace nativednssd
