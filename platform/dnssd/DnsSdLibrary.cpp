#include "platform/dnssd/DnsSdLibrary.h"

#include <cstdlib>
#include <dlfcn.h>
#include <mutex>

namespace nativednssd {
namespace {

// Avahi's compatibility library warns on the terminal at its first call unless this is set. Set once,
// and only where the user did not set it already.
void QuietAvahiWarning() {
    static std::once_flag once;
    std::call_once(once, [] { setenv("AVAHI_COMPAT_NOWARN", "1", 0); });
}

template <typename Function>
void Bind(void* handle, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(handle, name));
}

} // namespace

DnsSdLibrary::DnsSdLibrary(const std::string& file) {
    QuietAvahiWarning();
    m_handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
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
