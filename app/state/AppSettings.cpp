#include "app/state/AppSettings.h"

#include "platform/settings/SettingsKey.h"

#include <QRegularExpression>
#include <array>
#include <optional>

namespace {

using nativesettings::SettingsKey;

// How a number value is read. The server values count as missing unless they are numbers, so a port
// written as text reads as the default; the window's own values take whatever four bytes they hold
// and otherwise keep what they had.
enum class Reading { TypedWithDefault, IntoMember };

struct NumberValue {
    const char* name;
    uint32_t AppSettings::*member;
    Reading reading;
    uint32_t fallback;
};

// In the order the values are read and written.
constexpr std::array kNumberValues = {
    NumberValue{"HIDE_ITUNES", &AppSettings::hideITunes, Reading::IntoMember, 0},
    NumberValue{"AUTO_CLOSE", &AppSettings::autoClose, Reading::IntoMember, 0},
    NumberValue{"LOG_WINDOW", &AppSettings::logWindow, Reading::IntoMember, 0},
    NumberValue{"ACTIVE_PAGE1", &AppSettings::activePage1, Reading::IntoMember, 0},
    NumberValue{"ACTIVE_PAGE2", &AppSettings::activePage2, Reading::IntoMember, 0},
    NumberValue{"ACTIVE_PAGE3", &AppSettings::activePage3, Reading::IntoMember, 0},
    NumberValue{"StartServer", &AppSettings::startServer, Reading::TypedWithDefault, 1},
    NumberValue{"Server_Port", &AppSettings::serverPort, Reading::TypedWithDefault,
                AppSettings::kDefaultServerPort},
    NumberValue{"PnPRouter", &AppSettings::pnpRouter, Reading::TypedWithDefault, 0},
    NumberValue{"Manage_iPods", &AppSettings::manageIPods, Reading::TypedWithDefault, 0},
    NumberValue{"Manage_Shuffles", &AppSettings::manageShuffles, Reading::TypedWithDefault, 0},
};

// Written by the main program: every number value but the two that only the server program's
// settings own.
constexpr std::array kSavedNumberNames = {"HIDE_ITUNES", "AUTO_CLOSE", "LOG_WINDOW", "ACTIVE_PAGE1",
                                          "ACTIVE_PAGE2", "ACTIVE_PAGE3", "StartServer", "Server_Port",
                                          "PnPRouter"};
constexpr std::array kServerValueNames = {"StartServer", "Server_Port", "PnPRouter"};

constexpr const char* kLastDeviceName = "LAST_IPOD";
constexpr const char* kLastSyncRemoteName = "Last_Sync_IS_Remote";
constexpr int kITunesSide = 1;
constexpr int kIPodSide = 2;

const NumberValue& ValueNamed(const char* name) {
    for (const NumberValue& value : kNumberValues) {
        if (qstrcmp(value.name, name) == 0)
            return value;
    }
    Q_UNREACHABLE();
}

void ReadNumber(const SettingsKey& key, const NumberValue& value, AppSettings& settings) {
    uint32_t& member = settings.*value.member;
    if (value.reading == Reading::TypedWithDefault) {
        member = key.ReadDword(QLatin1String(value.name)).value_or(value.fallback);
        return;
    }
    key.ReadIntoDword(QLatin1String(value.name), member);
}

// The first tab of five that the sheet can open with; an older program kept only four tabs' worth.
uint32_t SheetPage(uint32_t stored) {
    return stored < AppSettings::kSheetPageCount ? stored : (stored & 3);
}

uint32_t MaskedAtMost(uint32_t stored, uint32_t mask, uint32_t most) {
    const uint32_t masked = stored & mask;
    return masked > most ? most : masked;
}

// Reads "RECENTn_0", "RECENTn_1", ... up to the first that is missing or is no text that fits a
// buffer; empty texts are passed over.
QStringList ReadHistory(const SettingsKey& key, int side) {
    QStringList history;
    for (int index = 0;; ++index) {
        const std::optional<QString> text =
            key.ReadString(AppSettings::HistoryValueName(side, index), AppSettings::kTextBufferChars);
        if (!text)
            return history;
        if (!text->isEmpty())
            history.append(*text);
    }
}

void WriteHistory(SettingsKey& key, int side, const QStringList& history) {
    for (int index = 0; index < history.size(); ++index)
        key.WriteString(AppSettings::HistoryValueName(side, index), history[index]);
    // A later reader stops at the first gap only: values of a longer, older history would come back.
    const QRegularExpression stale(QStringLiteral("^RECENT%1_(\\d+)$").arg(side),
                                   QRegularExpression::CaseInsensitiveOption);
    for (const QString& name : key.ValueNames()) {
        const QRegularExpressionMatch match = stale.match(name);
        bool number = false;
        const qlonglong index = match.hasMatch() ? match.captured(1).toLongLong(&number) : -1;
        if (match.hasMatch() && (!number || index >= history.size()))
            key.Remove(name);
    }
}

void WriteNumbers(SettingsKey& key, const AppSettings& settings, const auto& names) {
    for (const char* name : names)
        key.WriteDword(QLatin1String(name), settings.*ValueNamed(name).member);
}

} // namespace

std::unique_ptr<SettingsKey> OpenSettingsKey(const SettingsKeyOpener& opener) {
    return opener ? opener() : std::make_unique<SettingsKey>();
}

void AppSettings::Load(const SettingsKey& key) {
    lastDevice = key.ReadString(QLatin1String(kLastDeviceName), kTextBufferChars).value_or(QString());
    uint32_t remote = 0;
    if (!lastDevice.isEmpty())
        key.ReadIntoDword(QLatin1String(kLastSyncRemoteName), remote);
    lastSyncWasRemote = remote;
    remoteSelected = 0;
    if (remote != 0)
        rememberedRemoteHost = lastDevice;

    for (const NumberValue& value : kNumberValues)
        ReadNumber(key, value, *this);
    activePage1 = SheetPage(activePage1);
    activePage2 = MaskedAtMost(activePage2, 3, kLastDuplicatesChild);
    activePage3 = MaskedAtMost(activePage3, 7, kLastFilteringChild);

    iTunesHistory = ReadHistory(key, kITunesSide);
    iPodHistory = ReadHistory(key, kIPodSide);
}

void AppSettings::Save(SettingsKey& key) const {
    key.WriteString(QLatin1String(kLastDeviceName), lastDevice);
    key.WriteDword(QLatin1String(kLastSyncRemoteName), remoteSelected);
    WriteNumbers(key, *this, kSavedNumberNames);
    WriteHistory(key, kITunesSide, iTunesHistory);
    WriteHistory(key, kIPodSide, iPodHistory);
    key.Flush();
}

void AppSettings::WriteServerValues(SettingsKey& key, uint32_t startServer, uint32_t serverPort,
                                    uint32_t pnpRouter) {
    AppSettings values;
    values.startServer = startServer;
    values.serverPort = serverPort;
    values.pnpRouter = pnpRouter;
    WriteNumbers(key, values, kServerValueNames);
    key.Flush();
}

QString AppSettings::HistoryValueName(int side, int index) {
    return QStringLiteral("RECENT%1_%2").arg(side).arg(index);
}
