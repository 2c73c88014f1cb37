#include "app/network/RouterConfiguration.h"

#include "platform/ini/PrivateProfile.h"

#include <array>

bool RouterConfiguration::Write(const std::string& path) const {
    const std::array<nativeini::IniEntry, 3> entries = {{
        {"CompName", compName},
        {"ExtPort", extPort},
        {"ExtIP", extIp},
    }};
    return nativeini::PrivateProfile(path).WriteStrings(kSection, entries);
}
