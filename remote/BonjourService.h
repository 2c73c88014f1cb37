#pragma once
// The service type under which server programs announce themselves and main programs look for them.

namespace bonjour {

constexpr char kServiceType[] = "_orvantis._tcp.";

} // namespace bonjour
