#pragma once
// The main window: its frame, controls and menu, its state between operations, and every private
// message that workers, controls and the server program send it. Long work runs on worker threads
// that touch no control: they change the controls through the GUI thread, in order, and end with a
// posted message. One operation runs at a time under the busy lock, which the starter of the work
// takes with a try and the work's end handler gives back; the GUI thread never waits for it.

#include "app/devices/DeviceLists.h"
#include "app/devices/DeviceSyncSet.h"
#include "app/devices/FirstSyncAppleIds.h"
#include "app/dialogs/DesktopSyncActionPresenter.h"
#include "app/dialogs/DesktopToolActionPresenter.h"
#include "app/settings/RouterTest.h"
#include "app/state/AppSettings.h"
#include "app/state/HelperProgram.h"
#include "app/state/StartupCommandLine.h"
#include "app/window/DeviceChooser.h"
#include "app/window/MainWindowControls.h"
#include "app/window/MainWindowFrame.h"
#include "app/window/PacedLogView.h"
#include "app/window/VolumeWatcher.h"
#include "app/window/WorkerThread.h"
#include "foundation/AProgress.h"
#include "foundation/ASemaphore.h"
#include "platform/ipc/PeerAddress.h"

#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

class ADirTunesRemote;
class HostDiscovery;
struct SongFileSelection;
struct ToolCommand;
class PlayListSyncRecordList;
class LibraryClient;
class MainMenu;
class UpdateChecker;
class MainSockets;
namespace nativeui {
class PrivateMessage;
}
namespace nativeshell {
class Shell;
}
namespace nativesettings {
class SettingsKey;
}

struct MainDialogServices {
    LibraryClient* library = nullptr; // null: the program has no library to work with
    MainSockets* sockets = nullptr;
    nativeipc::PeerAddress peers = nativeipc::PeerAddress::ForCurrentUser();
    // The settings key (none: the user's own).
    SettingsKeyOpener openSettings;
    StartupCommandLine commandLine;
    bool startupConfigGiven = false;
    // Where "html/OV_About.html" lies.
    QString programFolder;
    // How often the volumes are looked at besides the kernel's notices of mounts.
    std::chrono::milliseconds volumeInterval = VolumeWatcher::kDefaultInterval;
    // Starts the server program when it is not running (none: it is not started), mails files.
    nativeshell::Shell* shell = nullptr;
    // The DNS-SD library that Bonjour browsing loads (empty: Avahi's).
    std::string dnssdLibrary;
    // The update check (none: the program has none).
    UpdateChecker* updates = nullptr;
};

class CHalvendorDlg : public MainWindowFrame {
public:
    static constexpr const char* kCaption = "Quelloran Orvantis";
    static constexpr const char* kPleaseWait = "Please wait until the current operation terminates";
    // How long the window's end waits for a worker that is still running.
    static constexpr std::chrono::milliseconds kWorkerEndLimit{10000};

    explicit CHalvendorDlg(MainDialogServices services);
    ~CHalvendorDlg() override;

    // Builds the window's state and starts the session; the window shows itself.
    void OnInitDialog();
    // True once the window ended (the program ends with it).
    bool IsEnded() const { return m_ended; }

    // For tests and the program: the window's parts.
    MainWindowControls& Controls() { return m_controls; }
    DeviceChooser& Chooser() { return m_chooser; }
    MainMenu& Menu() { return *m_menu; }
    const AppSettings& Settings() const { return m_settings; }
    AProgress& Progress() { return m_progress; }
    bool IsBusy() const { return m_busy.IsLocked(); }
    bool IsLogShown() const { return m_settings.logWindow != 0; }
    bool IsInitialising() const { return m_initialising; }
    bool IsRemoteInUse() const { return m_remoteInUse; }
    int RouterStatus() const { return m_routerStatus; }
    // The text of the status strip's last busy state.
    const QString& BusyStatusText() const { return m_busyStatusText; }

protected:
    bool event(QEvent* event) override;
    void OnSysCommand(intptr_t command) override;
    void OnOK() override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum class InitDataEnd { Finished, IPodChanged, HostsChanged };
    class WindowDeviceHost;
    class WindowSyncHost;
    class WindowUserInterface;

    // Start-up.
    void LoadSettings();
    void SetUpTooltips();
    void SetUpMenu();
    void ShowLocalAddress();
    void LoadKnownHosts();
    void StartDiscovery();
    void StartSession();
    // Prepares every iPod among the volumes of the mask for syncing: the bits of those found.
    uint32_t PrepareMountedPods(uint32_t mask);

    // The busy lock and the workers.
    void SetBusyStatus(const QString& text);
    void RefreshStatus();
    void EnableControls(bool enable);
    void StartInitData(InitDataEnd end, std::chrono::milliseconds delay);
    int InitData();
    int UpdatePlayListsIPodsLists();
    // The data load's sync set: the chosen device's, or the remembered host's at that chooser entry.
    int LoadDeviceSet();
    int LoadRemoteSet(int entry);
    // Logs the line of a failed step of the data load (time-stamped when the log is verbose).
    void LogStepFailure(const char* line);
    // The window follows the loaded set: its device chosen, its playlists and mode shown. 1 when the
    // set's device is not in the chooser, -15249 when the set's second side is no iPod.
    int UpdateDialog(bool again);
    // The chooser's choice reaches the sync set; the text says why it could not.
    int ApplyDeviceChoice(QString& error);
    int LoadRecentAndUpdate(const std::optional<DeviceSyncSet::Device>& device);
    // A new default sync for the chosen device, the combos' playlists and the picture's mode.
    int NewDefaultSync();
    std::optional<DeviceSyncSet::Device> ChosenDevice() const;
    int DeviceEntryWithID(const AString& id) const;
    void SelectSetPlayList(SeparatorComboBox& combo, const AString& name, bool side2);
    void ApplyChooserEntries(const ChooserEntries& entries);
    void RetryUntilLocked(std::function<void()> then);
    void RunOnGui(const std::function<void()>& work);

    // Devices and playlists.
    void OnDeviceSelChange();
    void SelectDevice(int index);
    void FillDevicePlayListCombo();
    void FillPlayListCombo(int mode);
    void ShowDevicePicture();
    void ShowSyncTexts();
    void ShowSelectPlayListsButton();
    void SelectRemoteHost();
    // The chosen host's sync set, and the window showing it.
    void ChooseRemoteHost();
    // The host's playlists are fetched on a worker into the window's own list of that host, and reach
    // the right combo through WM_UPDATE_PLAYLISTS.
    void RefreshRemotePlayLists(const FoundHost& host);
    void StartRemoteFetch();
    void OnUpdatePlayLists();

    // The playlist combos and commands: a combo's choice names the side's playlist in the set;
    // "New playlist..." makes one first.
    void OnPlayListChange(bool side2);
    int ApplyPlayList(bool side2);
    // 0 when made and applied, 2 when the user gave no name, -10002 for a reserved name, else the failure.
    int CreateITunesPlayList();
    int CreateDevicePlayList();
    int AskPlayListName(AString& name);
    void ShowPlayListFailure(int result, const char* failure);
    void AddPlayListEntry(SeparatorComboBox& combo, const AString& name);
    void OnNewITunesPlayList();
    void OnNewDevicePlayList();
    void OnSelectPlayLists();
    void ChoosePlayLists(PlayListSyncRecordList& records);

    // Long commands run like a sync: the controls off, "Cancel" on the start button, the work on the
    // worker, its result and count posted as WM_TOOL_FINISHED.
    void StartToolWork(std::function<std::pair<int, int>()> work);
    void OnAddFiles(bool toDevice);
    // Where the file dialog of adding songs opens: where the user last chose, else the library's music
    // folder (none when it does not exist).
    QString SongFolder() const;
    void OnDroppedFiles(intptr_t target, const std::vector<AString>& paths);
    void StartAddFiles(bool toDevice, SongFileSelection selection, bool withVideo);
    void OnHtmlList(bool device);
    void OnHelpCommand(int id);
    void OnToolCommand(const ToolCommand& tool);
    void OnLinkShuffle();
    void RememberLastDevice();
    // The connect dialog: the found host chosen there, or -1.
    int RunConnectDialog();
    // Selects the chooser's entry of a found host; one not listed yet is selected after a reload.
    void ChooseFoundHost(int hostIndex);

    // Message handlers.
    void Dispatch(nativeui::PrivateMessage& message);
    void OnCommand(int id, int code);
    void OnStartSession();
    void OnInitDataFinished(InitDataEnd end, int result);
    void OnInitDataEnded(int result);
    void OnIPodChangedEnded(int result);
    void OnHostsChangedEnded(int result);
    void OnIPodChanged(int tries);
    void OnDeviceChange(intptr_t event, uint32_t mask);
    void OnDeviceArrival(uint32_t mask);
    void OnDeviceRemoved();
    void OnHostsChanged();
    void OnScanDone();
    // The host found last, when there is one, is chosen; no reconnection is pending any more.
    void ChooseLastHost();
    void OnHostListReady(intptr_t name);
    void OnStartupConfig();
    void LoadRouterConfigFile(const QString& path);
    void OnLoadRouterConfig();
    void OnRouterConfigCommand(int id);
    void OnCheckForUpdates();
    // Start Now, or Cancel while a sync runs.
    void OnStartNow();
    // Takes the busy lock for a command; while it is held the user is asked to wait.
    bool TakeBusyLock();
    // Why a sync cannot start now, or empty.
    QString StartRefusal();
    void RequestCancel();
    void OnSyncType(int setting);
    // A first device arrived or "-ar": the arrived device whose set runs by itself is synced.
    void AutoRun();
    int AutoRunEntry() const;
    // Polled by a running sync or tool.
    int CancelRequested() const;
    void OnSyncFinished(intptr_t result);
    // A sync that failed without a word to the user (a check that could not read the iPod's files
    // ends so) is told here; what the sync showed itself is not shown twice.
    void TellUntoldFailure(int result);
    void OnToolFinished();
    // The end of a worker's operation: the worker joined, the cancel button hidden, the start button back.
    void EndOperation();
    // Gives the busy lock back and closes when asked to, else shows the window idle again.
    void ReleaseAfterOperation(bool close);
    // A cancellable count-down of 100 ms steps: true when it ran out.
    bool RunCountdown(const QString& message, int steps);
    void OnFillPlayLists();
    void OnSyncOptions();
    void OnToggleLog();
    void ShowLogPane(bool show);
    void OnAbout();

    // The end.
    void CloseWhenIdle();
    void EndDialog();

    MainDialogServices m_services;
    HelperProgram m_helper;
    AppSettings m_settings;
    MainWindowControls m_controls;
    DeviceChooser m_chooser;
    std::unique_ptr<MainMenu> m_menu;
    PacedLogView m_log;
    AProgress m_progress;
    // Shows the messages and questions of long operations, and counts them.
    std::unique_ptr<WindowUserInterface> m_userInterface;
    // How many the user had seen when the running sync started.
    int m_shownBeforeSync = 0;
    DeviceLists m_devices;
    DeviceSyncSet m_syncSet;
    DesktopSyncActionPresenter m_syncPresenter;
    // Shows the lists of the library tools and of adding songs.
    DesktopToolActionPresenter m_toolPresenter;
    // Lent to the presenter while a tool whose list extends them runs.
    FirstSyncAppleIds m_appleIds{m_syncSet};
    std::unique_ptr<WindowSyncHost> m_syncHost;
    std::atomic<bool> m_listThreadRunning{false};
    // The library's playlists as the last data load read them, for the left playlist combo.
    std::vector<LibraryPlayList> m_libraryPlayLists;
    // The hosts known from the last run and from the server program: the network scan tries them first.
    std::vector<FoundHost> m_knownHosts;
    std::unique_ptr<VolumeWatcher> m_volumes;
    std::unique_ptr<HostDiscovery> m_discovery;
    RouterTest m_routerTest;

    ASemaphore m_busy;
    std::atomic<bool> m_cancelRequested{false};
    std::atomic<bool> m_shuttingDown{false};
    std::atomic<bool> m_closeRequested{false};
    WorkerThread m_sessionStarter;
    WorkerThread m_worker;
    WorkerThread m_connector;
    WorkerThread m_hello;
    WorkerThread m_remoteFetch;
    // The host the window shows, whose playlists fill the right combo; shared with the host's other lists.
    std::unique_ptr<ADirTunesRemote> m_remoteList;
    bool m_remoteFetchAgain = false;
    // The folder of the song files last chosen in the file dialog.
    QString m_songFolder;
    // The combos' selections before "New playlist..." was chosen.
    int m_leftRemembered = 0;
    int m_rightRemembered = 0;
    // A found host that the connect dialog chose, selected once the reload it caused has ended.
    int m_chosenHost = -1;
    bool m_initialising = false;
    bool m_operationRunning = false;
    bool m_ended = false;
    bool m_remoteInUse = false;
    bool m_reconnectPending = false;
    bool m_autoRunPending = false;
    uint32_t m_autoRunMask = 0;
    bool m_deviceHasPlayLists = false;
    bool m_verboseLog = false;
    // Read by the threads that prepare arriving iPods.
    std::atomic<uint32_t> m_manageIPods{0};
    std::atomic<uint32_t> m_manageShuffles{0};
    int m_routerStatus = 0;
    QString m_busyStatusText;
    QTimer m_logAnimation;
    int m_logTarget = 0;
};
