#include "server/router/RouterStatusFile.h"

#include "platform/ini/PrivateProfile.h"

#include <string>

namespace {

constexpr char kMapped[] = "1";
constexpr char kNotMapped[] = "0";

} // namespace

bool RouterStatusFile::Write(const std::string& path, const RouterState& state) {
    nativeini::PrivateProfile profile(path);
    if (!state.mapped)
        return profile.WriteString(kSection, kStatusKey, kNotMapped);
    const std::string port = std::to_string(state.externalPort);
    const nativeini::IniEntry entries[] = {
        {kStatusKey, kMapped}, {kPortKey, port}, {kAddressKey, state.externalAddress}};
    return profile.WriteStrings(kSection, entries);
}
