#pragma once
// The script of the stub DNS-SD library (tests/stubs/StubDnsSd.cpp), reached through the library file
// the code under test loads as well: both see one copy of it in the process.

#include <cstddef>
#include <cstdint>
#include <string>

class StubDnsSdScript {
public:
    // Loads the stub and clears its script.
    StubDnsSdScript();

    static std::string LibraryFile();

    void SetBrowseResult(int32_t result) const { m_setBrowseResult(result); }
    // A reply every browse hands over, now or when it starts; `processResult` other than 0 makes the
    // call that would hand it fail instead.
    void AddBrowseReply(uint32_t flags, int32_t error, const std::string& name, int32_t processResult = 0) const {
        m_addBrowseReply(flags, error, name.c_str(), processResult);
    }
    int ActiveBrowses() const { return m_activeBrowses(); }
    int ActiveRegistrations() const { return m_activeRegistrations(); }
    int RegistrationsMade() const { return m_registrationsMade(); }
    // The port the last registration passed, as it passed it (network order), and its type.
    uint16_t LastRegisteredPort(std::string& type) const;
    void SetResolveAnswer(const std::string& host, uint16_t portNetworkOrder) const {
        m_setResolveAnswer(host.c_str(), portNetworkOrder);
    }

private:
    void (*m_setBrowseResult)(int32_t) = nullptr;
    void (*m_addBrowseReply)(uint32_t, int32_t, const char*, int32_t) = nullptr;
    int (*m_activeBrowses)() = nullptr;
    int (*m_activeRegistrations)() = nullptr;
    int (*m_registrationsMade)() = nullptr;
    uint16_t (*m_lastRegisteredPort)(char*, size_t) = nullptr;
    void (*m_setResolveAnswer)(const char*, uint16_t) = nullptr;
};
