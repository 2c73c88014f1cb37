// What finding servers and mapping the router's port take from the network. The first byte chooses
// the reader: 0 a hello answer, 1 a Bonjour instance name, 2 an ICMP datagram, 3 a host list file,
// 4 the router's mappings (lines of "external,internal,protocol,client,enabled") after a u16 port.
// Each must read any bytes and keep its promises about what it gives back.
#include "platform/sockets/HostAddresses.h"
#include "platform/sockets/IcmpEcho.h"
#include "remote/BonjourInstanceName.h"
#include "remote/HelloMessage.h"
#include "remote/HostListFile.h"
#include "server/router/MappingLookup.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

enum Reader : uint8_t { kHelloAnswer, kInstanceName, kIcmpDatagram, kHostList, kRouterMappings, kReaderCount };

void Require(bool promise) {
    if (!promise)
        __builtin_trap();
}

void ReadHelloAnswer(std::span<const uint8_t> bytes) {
    if (const auto name = HelloMessage::AnswerName(bytes))
        Require(name->size() <= FoundHost::kMaxNameLength && name->find('\0') == std::string::npos);
}

void ReadInstanceName(std::span<const uint8_t> bytes) {
    const std::string instance(bytes.begin(), bytes.end());
    if (const auto host = BonjourInstanceName::AddressForm(instance))
        Require(nativesockets::ParseIPv4(host->address).has_value());
    BonjourInstanceName::ToHost(instance, [](const std::string&) { return std::nullopt; });
}

void ReadIcmpDatagram(std::span<const uint8_t> bytes) {
    nativesockets::IcmpEcho::IsReplyTo(bytes, true, 0x7F000001, 1, 1);
    nativesockets::IcmpEcho::IsReplyTo(bytes, false, 0x7F000001, 1, 1);
}

void ReadHostList(std::span<const uint8_t> bytes) {
    const int fd = memfd_create("hosts", 0);
    if (fd < 0)
        return;
    if (write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size())) {
        const std::string path = "/proc/self/fd/" + std::to_string(fd);
        const size_t records = bytes.size() < HostListFile::kCountSize
                                   ? 0
                                   : (bytes.size() - HostListFile::kCountSize) / FoundHost::kRecordSize;
        Require(HostListFile::Read(AString(path)).size() <= std::min(records, HostListFile::kMaxRecords));
    }
    close(fd);
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

void ReadRouterMappings(std::span<const uint8_t> bytes) {
    if (bytes.size() < 2)
        return;
    const uint16_t port = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    std::vector<PortMapping> mappings;
    for (const std::string& line : Split(std::string(bytes.begin() + 2, bytes.end()), '\n')) {
        std::vector<std::string> fields = Split(line, ',');
        fields.resize(5);
        mappings.push_back(PortMapping{"", fields[0], fields[1], fields[2], fields[3], fields[4], ""});
    }
    const MappingLookupResult result = MappingLookup::Find(mappings, "192.168.1.20", port);
    auto uses = [&](uint16_t external) {
        return std::any_of(mappings.begin(), mappings.end(),
                           [&](const PortMapping& m) { return PortMapping::ParsePort(m.externalPort) == external; });
    };
    if (result.found)
        Require(uses(result.externalPort));
    if (result.proposedPort)
        Require(*result.proposedPort >= port && !uses(*result.proposedPort));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const std::span<const uint8_t> bytes(data + 1, size - 1);
    switch (data[0] % kReaderCount) {
    case kHelloAnswer:
        ReadHelloAnswer(bytes);
        break;
    case kInstanceName:
        ReadInstanceName(bytes);
        break;
    case kIcmpDatagram:
        ReadIcmpDatagram(bytes);
        break;
    case kHostList:
        ReadHostList(bytes);
        break;
    case kRouterMappings:
        ReadRouterMappings(bytes);
        break;
    }
    return 0;
}
