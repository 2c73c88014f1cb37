#pragma once
// The main program's side of the host lists (".hosts") in "SyncSets": the lists that the server
// program writes for it, each named by a number, and "FoundHost.hosts", where the main program keeps
// the hosts it knew between runs. A list never holds more than kMaxRecords hosts.

#include "foundation/AString.h"
#include "remote/FoundHost.h"

#include <span>
#include <vector>

class HostListStore {
public:
    static constexpr size_t kMaxRecords = 1000;
    static constexpr const char* kKnownHostsName = "FoundHost";

    // `folder`: the "SyncSets" folder.
    explicit HostListStore(AString folder) : m_folder(std::move(folder)) {}

    // The hosts of the list named `name`; none when it is missing or short. With `deleteAfter` the
    // file is removed once read.
    std::vector<FoundHost> Load(const AString& name, bool deleteAfter) const;
    // The known hosts become `hosts` followed by every host of the old list whose name and port are
    // not among them. 0 or the file error; nothing is written without hosts.
    int SaveKnown(std::span<const FoundHost> hosts) const;

    // The list's file: the name kept inside the folder, with ".hosts".
    AString PathOf(const AString& name) const;

private:
    AString m_folder;
};
