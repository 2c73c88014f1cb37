#pragma once
// The main program's settings in the shared settings key: what the main window keeps between runs
// (the last device, the log pane, the settings sheet's pages, the move-to histories) and the server
// values that both programs read. Loading never fails: a value that is missing keeps its default.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>

namespace nativesettings {
class SettingsKey;
}

// Where settings are read and written: the key an opener gives (tests name a file of their own).
using SettingsKeyOpener = std::function<std::unique_ptr<nativesettings::SettingsKey>()>;
// The opener's key, or the user's own without an opener.
std::unique_ptr<nativesettings::SettingsKey> OpenSettingsKey(const SettingsKeyOpener& opener);

class AppSettings {
public:
    // A caller's text buffer: a longer text counts as missing.
    static constexpr qsizetype kTextBufferChars = 1024;
    static constexpr uint32_t kDefaultServerPort = 10564;
    // The settings sheet's five tabs, and the children of "Duplicates" and "Filtering".
    static constexpr uint32_t kSheetPageCount = 5;
    static constexpr uint32_t kLastDuplicatesChild = 2;
    static constexpr uint32_t kLastFilteringChild = 5;

    QString lastDevice;              // "LAST_IPOD": a device identifier or a host name
    uint32_t remoteSelected = 0;     // saved as "Last_Sync_IS_Remote"
    uint32_t lastSyncWasRemote = 0;  // "Last_Sync_IS_Remote" as loaded
    QString rememberedRemoteHost;    // "LAST_IPOD" when the last sync was remote
    uint32_t hideITunes = 0;         // "HIDE_ITUNES"
    uint32_t autoClose = 0;          // "AUTO_CLOSE"
    uint32_t logWindow = 0;          // "LOG_WINDOW"
    uint32_t activePage1 = 1;        // "ACTIVE_PAGE1": the sheet's last tab
    uint32_t activePage2 = 0;        // "ACTIVE_PAGE2": the last "Duplicates" child
    uint32_t activePage3 = 0;        // "ACTIVE_PAGE3": the last "Filtering" child
    uint32_t startServer = 1;        // "StartServer"
    uint32_t serverPort = kDefaultServerPort; // "Server_Port"
    uint32_t pnpRouter = 0;          // "PnPRouter"
    uint32_t manageIPods = 0;        // "Manage_iPods": read, never written here
    uint32_t manageShuffles = 0;     // "Manage_Shuffles": read, never written here
    QStringList iTunesHistory;       // "RECENT1_0", "RECENT1_1", ...
    QStringList iPodHistory;         // "RECENT2_0", ...

    void Load(const nativesettings::SettingsKey& key);
    // Writes every value the main program owns; history values beyond the new counts are removed.
    void Save(nativesettings::SettingsKey& key) const;
    // The three server values, as the settings page "Global" writes them at once.
    static void WriteServerValues(nativesettings::SettingsKey& key, uint32_t startServer, uint32_t serverPort,
                                  uint32_t pnpRouter);

    // "RECENT1_" or "RECENT2_" followed by the index.
    static QString HistoryValueName(int side, int index);
};
