#include "remote/FoundHostTable.h"

#include "platform/sockets/HostAddresses.h"

#include <algorithm>

namespace {

std::string FittingName(const std::string& name) {
    return name.substr(0, std::min(name.size(), FoundHost::kMaxNameLength));
}

} // namespace

bool FoundHostTable::NameTakenLocked(const std::string& name, size_t except) const {
    for (size_t i = 0; i < m_hosts.size(); ++i) {
        if (i != except && m_hosts[i].name == name)
            return true;
    }
    return false;
}

FoundHostTable::AddResult FoundHostTable::Add(const FoundHost& host, std::optional<uint32_t> localIPv4) {
    const std::string address = FoundHost::CanonicalAddress(host.address);
    if (address.empty())
        return {};
    std::lock_guard lock(m_lock);
    const auto same = std::find_if(m_hosts.begin(), m_hosts.end(), [&](const FoundHost& entry) {
        return entry.address == address && entry.port == host.port;
    });
    if (same != m_hosts.end()) {
        same->name = FittingName(host.name);
        return {static_cast<int>(same - m_hosts.begin()), false};
    }
    if (!localIPv4 || nativesockets::FormatIPv4(*localIPv4) == address || m_hosts.size() >= kMaxHosts)
        return {};
    FoundHost added{FittingName(host.name), address, host.port};
    while (NameTakenLocked(added.name, m_hosts.size())) {
        if (added.name.size() >= FoundHost::kMaxNameLength)
            return {};
        added.name += '_';
    }
    m_hosts.push_back(std::move(added));
    return {static_cast<int>(m_hosts.size() - 1), true};
}

void FoundHostTable::Clear() {
    std::lock_guard lock(m_lock);
    m_hosts.clear();
}

std::vector<FoundHost> FoundHostTable::Copy() const {
    std::lock_guard lock(m_lock);
    return m_hosts;
}

int FoundHostTable::Count() const {
    std::lock_guard lock(m_lock);
    return static_cast<int>(m_hosts.size());
}

std::string FoundHostTable::GetAddress(int index) const {
    std::lock_guard lock(m_lock);
    return index >= 0 && static_cast<size_t>(index) < m_hosts.size() ? m_hosts[index].address : std::string();
}

std::string FoundHostTable::GetName(int index) const {
    std::lock_guard lock(m_lock);
    return index >= 0 && static_cast<size_t>(index) < m_hosts.size() ? m_hosts[index].name : std::string();
}

std::optional<FoundHost> FoundHostTable::FindByAddress(const std::string& address) const {
    const std::string canonical = FoundHost::CanonicalAddress(address);
    std::lock_guard lock(m_lock);
    const auto found = std::find_if(m_hosts.begin(), m_hosts.end(),
                                    [&](const FoundHost& entry) { return entry.address == canonical; });
    return found == m_hosts.end() ? std::nullopt : std::optional<FoundHost>(*found);
}

uint16_t FoundHostTable::FindPort(const std::string& address) const {
    const auto found = FindByAddress(address);
    return found ? found->port : 0;
}

bool FoundHostTable::HasAddress(const std::string& address) const {
    return FindByAddress(address).has_value();
}
