#include "StubDnsSdScript.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

namespace {

template <typename Function>
void Bind(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    if (!function)
        ADD_FAILURE() << "the stub lacks " << name;
}

} // namespace

StubDnsSdScript::StubDnsSdScript() {
    void* library = dlopen(LibraryFile().c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!library) {
        ADD_FAILURE() << "cannot load " << LibraryFile() << ": " << dlerror();
        return;
    }
    void (*reset)() = nullptr;
    Bind(library, "StubDnsSd_Reset", reset);
    Bind(library, "StubDnsSd_SetBrowseResult", m_setBrowseResult);
    Bind(library, "StubDnsSd_AddBrowseReply", m_addBrowseReply);
    Bind(library, "StubDnsSd_ActiveBrowses", m_activeBrowses);
    Bind(library, "StubDnsSd_ActiveRegistrations", m_activeRegistrations);
    Bind(library, "StubDnsSd_RegistrationsMade", m_registrationsMade);
    Bind(library, "StubDnsSd_LastRegisteredPort", m_lastRegisteredPort);
    Bind(library, "StubDnsSd_SetResolveAnswer", m_setResolveAnswer);
    if (reset)
        reset();
}

std::string StubDnsSdScript::LibraryFile() {
    return ORVANTIS_STUB_DNSSD;
}

uint16_t StubDnsSdScript::LastRegisteredPort(std::string& type) const {
    char text[256] = {};
    const uint16_t port = m_lastRegisteredPort(text, sizeof text);
    type = text;
    return port;
}
