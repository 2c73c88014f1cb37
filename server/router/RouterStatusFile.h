#pragma once
// "Router.stat", the private-profile file in which the server program hands the main program what it
// knows of its mapping, section "Stat": "Status" "1" with "ExtPort" and "ExtIP" when a mapping was ever
// found, else "Status" "0" alone (the port and address of an earlier run stay as they were). The file
// is replaced whole through a new file beside it.

#include "server/router/RouterState.h"

#include <string>

class RouterStatusFile {
public:
    static constexpr char kFileName[] = "Router.stat";
    static constexpr char kSection[] = "Stat";
    static constexpr char kStatusKey[] = "Status";
    static constexpr char kPortKey[] = "ExtPort";
    static constexpr char kAddressKey[] = "ExtIP";

    // False when the file cannot be written (its folder is missing, for one).
    static bool Write(const std::string& path, const RouterState& state);
};
