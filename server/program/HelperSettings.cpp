#include "server/program/HelperSettings.h"

#include "platform/settings/SettingsKey.h"

namespace {

constexpr uint16_t kHighestPort = 65534;

uint32_t FourBytesOr(const nativesettings::SettingsKey& key, const char* name, uint32_t fallback) {
    return key.ReadFourBytes(QString::fromLatin1(name)).value_or(fallback);
}

} // namespace

uint16_t HelperSettings::PortOf(uint32_t value) {
    return value >= 1 && value <= kHighestPort ? static_cast<uint16_t>(value) : kDefaultPort;
}

HelperSettings HelperSettings::Load(const nativesettings::SettingsKey& key) {
    HelperSettings settings;
    settings.startServer = FourBytesOr(key, "StartServer", 1) != 0;
    settings.serverPort = PortOf(FourBytesOr(key, "Server_Port", kDefaultPort));
    settings.manageIPods = FourBytesOr(key, "Manage_iPods", 0) != 0;
    settings.manageShuffles = FourBytesOr(key, "Manage_Shuffles", 0) != 0;
    settings.portForwarding = FourBytesOr(key, "PnPRouter", 0) != 0;
    settings.gatewayDescription = key.ReadString(QStringLiteral("PnPGatewayURL")).value_or(QString()).toStdString();
    return settings;
}
