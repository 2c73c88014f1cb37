#pragma once
// The DNS-SD library, loaded at run time by its file name ("libdns_sd.so.1", Avahi's compatibility
// library, unless another is named), with its entry points bound by name. A missing library or entry
// point leaves that function null; nothing else changes. The library stays loaded for the life of the
// process once it was opened, so an object may go while the library's own threads still wind down.
// Before it is loaded, AVAHI_COMPAT_NOWARN is set, so that Avahi's library does not warn on the
// terminal that a program uses it.

#include "platform/dnssd/DnsSdApi.h"

#include <string>

namespace nativednssd {

class DnsSdLibrary {
public:
    static constexpr char kDefaultFile[] = "libdns_sd.so.1";

    explicit DnsSdLibrary(const std::string& file = kDefaultFile);
    DnsSdLibrary(const DnsSdLibrary&) = delete;
    DnsSdLibrary& operator=(const DnsSdLibrary&) = delete;

    bool IsLoaded() const { return m_handle != nullptr; }
    // The entry points that every operation needs: its descriptor, its results and its end.
    bool HasEventEntries() const { return processResult && refSockFD && refDeallocate; }

    BrowseFunction browse = nullptr;
    RegisterFunction registerService = nullptr;
    ResolveFunction resolve = nullptr;
    ProcessResultFunction processResult = nullptr;
    RefSockFDFunction refSockFD = nullptr;
    RefDeallocateFunction refDeallocate = nullptr;

private:
    void* m_handle = nullptr;
};

} // namespace nativednssd
