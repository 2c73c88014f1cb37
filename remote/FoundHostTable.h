#pragma once
// The servers found on the network, under one mutex. Every record is checked before it enters: its
// address must be a dotted IPv4 address other than this computer's, its name fits its field, and the
// table holds at most kMaxHosts records.

#include "remote/FoundHost.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

class FoundHostTable {
public:
    static constexpr size_t kMaxHosts = 1024;

    struct AddResult {
        int index = -1;        // the record's place, or -1 when it was refused
        bool appended = false; // false when a record of the same address and port was renamed
    };

    // A record with the same address and port only takes the new name. Otherwise the record is
    // appended, its name made unique by appending "_" until no other record has it (refused when the
    // name has no room left), unless its address is `localIPv4`, there is no local address, or the
    // table is full.
    AddResult Add(const FoundHost& host, std::optional<uint32_t> localIPv4);
    void Clear();
    std::vector<FoundHost> Copy() const;
    int Count() const;
    // Empty texts for an index out of range.
    std::string GetAddress(int index) const;
    std::string GetName(int index) const;
    // The port recorded for the address, or 0.
    uint16_t FindPort(const std::string& address) const;
    // Whether a record of the address is in the table, whatever its port.
    bool HasAddress(const std::string& address) const;

private:
    std::optional<FoundHost> FindByAddress(const std::string& address) const;
    bool NameTakenLocked(const std::string& name, size_t except) const;

    mutable std::mutex m_lock;
    std::vector<FoundHost> m_hosts;
};
