#pragma once
// What the name of an announced instance says about its server. A name "<dotted address>-<host>"
// carries both; any other name is the computer's own, whose address the name service knows (the bare
// name, else the name in ".local").

#include "remote/FoundHost.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class BonjourInstanceName {
public:
    using Resolver = std::function<std::optional<uint32_t>(const std::string& name)>;

    // The server of the instance (port 0), or none when its address cannot be had.
    static std::optional<FoundHost> ToHost(const std::string& instance, const Resolver& resolve);
    // "192.168.1.20-studio" gives "studio" at 192.168.1.20; none unless the text before the first "-"
    // is a dotted IPv4 address.
    static std::optional<FoundHost> AddressForm(const std::string& instance);
};
