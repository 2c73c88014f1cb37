#pragma once
// The files the server program writes for the main program into the "SyncSets" folder: host lists,
// each named by the main program's number t (a tick count) in decimal with ".hosts", and "Router.stat".
// A table without hosts writes no host list.

#include "foundation/AString.h"
#include "server/router/RouterState.h"

#include <cstdint>
#include <optional>

class FoundHostTable;

class MainProgramFiles {
public:
    // The "SyncSets" folder of the user's data, created when missing; none when it cannot be had (and
    // then nothing is written).
    static std::optional<MainProgramFiles> InSyncSetsFolder();
    explicit MainProgramFiles(AString folder) : m_folder(std::move(folder)) {}

    // The main program asked for the whole found-host table (WM_HOSTLIST_READY): true once written.
    bool WriteHostList(const FoundHostTable& table, int64_t t) const;
    // A host joined: only the last host of the table, for the main program to be told of it.
    bool WriteJoinedHost(const FoundHostTable& table, int64_t t) const;
    // What is known of the mapping on the router (WM_HELPER_WRITE_ROUTER_STATUS).
    bool WriteRouterStatus(const RouterState& state) const;
    // "<folder>/<t>.hosts", t as the 32-bit number the message carried.
    AString HostListPath(int64_t t) const;

private:
    AString m_folder;
};
