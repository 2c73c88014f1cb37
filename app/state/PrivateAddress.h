#pragma once
// Whether an external address that the router reported is no address on the internet: the router
// then sits behind another router (or reported nothing usable), and others cannot reach this
// computer through it. One rule for the settings page and the router configuration.

#include <string>

// 10/8, 172.16/12, 192.168/16, 100.64/10 (shared address space), 169.254/16 and 127/8; false for a
// text that is no dotted address.
bool IsPrivateIPv4(const std::string& address);
