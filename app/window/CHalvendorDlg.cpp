#include "app/window/CHalvendorDlg.h"

#include "app/commands/AddSongFilesRun.h"
#include "app/commands/HelpPages.h"
#include "app/commands/HtmlLibraryList.h"
#include "app/commands/SongFileDialog.h"
#include "app/commands/ShuffleLink.h"
#include "app/commands/SongFileSelection.h"
#include "app/commands/ToolCommands.h"
#include "app/devices/LibraryClient.h"
#include "app/dialogs/ActionListDialog.h"
#include "app/dialogs/AddPlayListDlg.h"
#include "app/dialogs/SelectPlayListsDlg.h"
#include "app/network/CConnectDiag.h"
#include "app/network/HostDiscovery.h"
#include "app/network/RouterConfigCommands.h"
#include "app/network/UpdateChecker.h"
#include "app/settings/SyncProperties.h"
#include "app/settings/SyncPropertiesExchange.h"
#include "app/skin/AppSkin.h"
#include "app/state/AppErrorCodes.h"
#include "foundation/ErrorCodes.h"
#include "foundation/ErrorTexts.h"
#include "foundation/FileOps.h"
#include "app/state/AppFolders.h"
#include "app/state/HelperProgram.h"
#include "app/state/HostListStore.h"
#include "app/window/CAboutDlg.h"
#include "app/window/MainMenu.h"
#include "app/window/MainMessages.h"
#include "app/window/MainSockets.h"
#include "app/window/PlayListCombos.h"
#include "app/window/VolumeWatcher.h"
#include "library/ipod/IPodPrefs.h"
#include "library/ipod/PodVolumes.h"
#include "library/itunes/MusicFolder.h"
#include "library/songlists/ADirSong.h"
#include "platform/ini/PrivateProfile.h"
#include "platform/settings/SettingsKey.h"
#include "platform/ui/GuiThread.h"
#include "platform/ui/PrivateMessage.h"
#include "remote/ADirTunesRemote.h"
#include "remote/HostListFile.h"
#include "remote/SyncSetsFolder.h"
#include "sync/ASync.h"
#include "sync/ASyncLib.h"
#include "sync/PlayListSyncRecordList.h"
#include "sync/SyncHost.h"
#include "sync/SyncModeTables.h"
#include "widgets/AFileDialog.h"
#include "widgets/ControlMessages.h"
#include "widgets/DesktopUserInterface.h"
#include "widgets/MessageBox.h"
#include "widgets/QtText.h"
#include "widgets/Skin.h"
#include "widgets/WaitDlg.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPixmap>
#include <algorithm>
#include <array>
#include <thread>

using nativeui::GuiThread;
using nativeui::PrivateMessage;

namespace {

constexpr int kSettingOnStart = 1;
constexpr int kLogStep = 15;
constexpr int kLogStepMs = 10;
constexpr auto kLockRetry = std::chrono::milliseconds(100);
constexpr int kIPodChangedTries = 5;
constexpr int kIPodChangedSpacingMs = 500;
constexpr int kHostsChangedRetryMs = 3000;
constexpr auto kRemovalDelay = std::chrono::milliseconds(1000);
constexpr int kCountdownSteps = 50;
constexpr int kWaitStepMs = 100;
constexpr size_t kRouterConfigChars = 200;
constexpr size_t kStartupFileChars = 2000;
constexpr int kHideSpecialMode = 2;

const char* const kNeedsLibrary =
    "Orvantis requires iTunes to be installed.\r\nPlease install iTunes before running Orvantis.\r\n"
    "If iTunes is installed, try running the application again.";

// The sync-setting picture's icons per setting 0 to 7.
constexpr ASyncSettingBitmap::IconTable kSettingIcons = {{
    {1, 6, 6, 2}, {1, 5, 5, 2}, {0, 3, 5, 2}, {1, 5, 3, 0}, {0, 4, 6, 2}, {1, 6, 4, 0}, {0, 3, 3, 0}, {7, 8, 8, 7},
}};

struct DevicePicture {
    int modelKey;
    int pictureId;
};

// The device picture by the chosen iPod's model key (variant * 256 + family).
constexpr std::array kDevicePictures = {
    DevicePicture{0, 601},    DevicePicture{1, 601},    DevicePicture{2, 621},    DevicePicture{6, 602},
    DevicePicture{7, 603},    DevicePicture{8, 613},    DevicePicture{9, 615},    DevicePicture{10, 614},
    DevicePicture{260, 616},  DevicePicture{261, 618},  DevicePicture{516, 617},  DevicePicture{517, 620},
    DevicePicture{771, 604},  DevicePicture{1027, 609}, DevicePicture{1283, 610}, DevicePicture{1539, 605},
    DevicePicture{1795, 608},
};

int DevicePictureOf(int modelKey) {
    for (const DevicePicture& row : kDevicePictures) {
        if (row.modelKey == modelKey)
            return row.pictureId;
    }
    return appskin::kUnknownDevice;
}

QString Text(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

// The chooser's entry of a found host, or -1.
// Where an iPod known by its own database keeps its work files while its database is saved.
AString WorkFolder() {
    AString folder;
    AppFolders::DataFolder(folder);
    return folder;
}

// The playlist a combo's selection names; none for the main library and "New playlist...".
AString ChosenPlayList(const SeparatorComboBox& combo) {
    const int index = combo.currentIndex();
    if (index <= 0 || index == combo.count() - 1)
        return AString();
    return ToAString(combo.currentText());
}

int HostEntry(const ChooserEntries& entries, int hostIndex) {
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].kind == ChooserKind::RemoteHost && entries[i].index == hostIndex)
            return static_cast<int>(i);
    }
    return -1;
}

} // namespace

// What a running sync asks of the window: the cancel request, and whether its list thread still runs.
class CHalvendorDlg::WindowSyncHost : public SyncHost {
public:
    explicit WindowSyncHost(CHalvendorDlg& window) : m_window(window) {}

    int IsCancelRequested() override { return m_window.CancelRequested(); }
    void SetListThreadRunning(bool running) override { m_window.m_listThreadRunning = running; }

private:
    CHalvendorDlg& m_window;
};

// The messages and questions of long operations over the window; the count tells whether a run
// spoke to the user.
class CHalvendorDlg::WindowUserInterface : public DesktopUserInterface {
public:
    using DesktopUserInterface::DesktopUserInterface;

    int ShowMessage(const AString& text, const AString& title = AString()) override {
        ++m_shown;
        return DesktopUserInterface::ShowMessage(text, title);
    }
    int RunAlert(const AlertRequest& request) override {
        ++m_shown;
        return DesktopUserInterface::RunAlert(request);
    }
    int Shown() const { return m_shown; }

private:
    std::atomic<int> m_shown{0};
};

// The device lists' questions, asked on the GUI thread while the data load waits.
class CHalvendorDlg::WindowDeviceHost : public DeviceListHost {
public:
    explicit WindowDeviceHost(CHalvendorDlg& window) : m_window(window) {}

    bool AskRetry(const QString& text) override {
        const int answer = GuiThread::RunModal([&] {
            QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(), text,
                            QMessageBox::Retry | QMessageBox::Cancel, &m_window);
            return box.exec();
        });
        return answer == QMessageBox::Retry;
    }
    void RequestExit() override {
        PrivateMessage::Post(&m_window, mainmsg::kWmExitRequest);
        m_window.m_closeRequested = true;
    }
    bool CloseRequested() const override { return m_window.m_closeRequested; }
    void LogWarning(const AString& line) override {
        if (m_window.m_verboseLog)
            m_window.m_progress.LogTime(false, false);
        m_window.m_progress.Log(line, true);
    }

private:
    CHalvendorDlg& m_window;
};

CHalvendorDlg::CHalvendorDlg(MainDialogServices services)
    : m_services(std::move(services)), m_helper(m_services.peers), m_controls(*this), m_chooser(m_controls.chooser),
      m_log(m_controls.log), m_userInterface(std::make_unique<WindowUserInterface>(this)),
      m_devices(m_services.library), m_syncSet(&m_progress, &m_controls.status, WorkFolder()),
      m_routerTest(m_helper, m_routerStatus) {
    setWindowTitle(QLatin1String(kCaption));
    setWindowIcon(QPixmap::fromImage(skin::Load(appskin::kProgramIcon)));
    resize(MainWindowControls::kWidth, MainWindowControls::kLogTop);
    m_progress.SetStatus(&m_controls.status);
    m_progress.SetLogWindow(&m_log);
    m_syncHost = std::make_unique<WindowSyncHost>(*this);
    m_syncSet.SetSeams(&m_syncPresenter, m_syncHost.get());
    ADirSong::SetToolActionPresenter(&m_toolPresenter);
    AProgress::SetUserInterface(m_userInterface.get());
    if (m_services.sockets)
        m_services.sockets->SetWindow(this);
    m_logAnimation.setInterval(kLogStepMs);
    connect(&m_logAnimation, &QTimer::timeout, this, [this] {
        const int step = m_logTarget > height() ? kLogStep : -kLogStep;
        const int next = std::abs(m_logTarget - height()) <= kLogStep ? m_logTarget : height() + step;
        resize(width(), next);
        if (next == m_logTarget) {
            m_logAnimation.stop();
            m_controls.SetLogButtonLook(m_logTarget == MainWindowControls::kFullHeight);
        }
    });
}

CHalvendorDlg::~CHalvendorDlg() {
    // The events run while the workers are waited for find the window ended.
    m_ended = true;
    m_shuttingDown = true;
    if (m_services.sockets)
        m_services.sockets->SetWindow(nullptr);
    m_volumes.reset();
    m_discovery.reset();
    m_sessionStarter.WaitInEventLoop(kWorkerEndLimit);
    m_worker.WaitInEventLoop(kWorkerEndLimit);
    m_connector.WaitInEventLoop(kWorkerEndLimit);
    m_hello.WaitInEventLoop(kWorkerEndLimit);
    m_remoteFetch.WaitInEventLoop(kWorkerEndLimit);
    ADirTunesRemote::SetMainList(nullptr);
    ADirSong::SetToolActionPresenter(nullptr);
    AProgress::SetUserInterface(nullptr);
    m_progress.SetStatus(nullptr);
    m_progress.SetLogWindow(nullptr);
}

// ---- Start-up

void CHalvendorDlg::OnInitDialog() {
    LoadSettings();
    SetUpMenu();
    resize(width(), m_settings.logWindow ? MainWindowControls::kFullHeight : MainWindowControls::kLogTop);
    m_controls.SetLogButtonLook(m_settings.logWindow != 0);

    ASyncSettingBitmap& picture = m_controls.syncPicture;
    picture.SetIconTable(kSettingIcons);
    picture.SetModeNames([this] {
        ASyncSettingBitmap::ModeNames names;
        for (int mode = 0; mode < ASyncSettingBitmap::kModeCount; ++mode)
            names[mode] = Text(SyncModeName(mode, m_remoteInUse));
        return names;
    });
    picture.SetLayout(ASyncSettingBitmap::kPictureLayout);
    picture.SetSetting(kSettingOnStart);
    ShowSyncTexts();
    const QString setMessage = m_syncSet.LoadDefault(picture.GetSetting());
    if (!setMessage.isEmpty())
        messagebox::Show(this, setMessage);
    if (const ASync* first = m_syncSet.First())
        m_verboseLog = first->GetVerboseLog() != 0;
    SetUpTooltips();
    if (m_services.commandLine.showAbout)
        PrivateMessage::Post(this, nativeui::kWmCommand, nativeui::MakeWParam(mainmsg::kCmdAbout, 0));

    EnableControls(false);
    SetBusyStatus(QStringLiteral("Initializing Session..."));
    ShowSelectPlayListsButton();
    ShowLocalAddress();
    LoadKnownHosts();
    StartDiscovery();
    if (m_services.shell)
        m_helper.StartIfAbsent(*m_services.shell, m_services.programFolder);

    m_autoRunPending = m_services.commandLine.autoRun;
    m_autoRunMask = m_services.commandLine.autoRunMask;
    m_reconnectPending = m_settings.lastSyncWasRemote && !m_settings.lastDevice.isEmpty();
    m_remoteInUse = m_reconnectPending;
    m_busy.TryLock();
    StartSession();
    m_volumes = std::make_unique<VolumeWatcher>(
        [this](uint32_t arrived, bool removed) {
            // On the watcher's thread: the iPods among the new volumes are read and prepared here.
            const uint32_t pods = arrived != 0 ? PrepareMountedPods(arrived) : 0;
            if (pods != 0)
                PrivateMessage::Post(this, mainmsg::kWmDeviceChange, mainmsg::kDeviceArrival, pods);
            if (removed)
                PrivateMessage::Post(this, mainmsg::kWmDeviceChange, mainmsg::kDeviceRemoveComplete, 0);
        },
        m_services.volumeInterval);
    show();
}

void CHalvendorDlg::LoadSettings() {
    const std::unique_ptr<nativesettings::SettingsKey> key = OpenSettingsKey(m_services.openSettings);
    m_settings.Load(*key);
    m_manageIPods = m_settings.manageIPods;
    m_manageShuffles = m_settings.manageShuffles;
    if (m_services.sockets && m_settings.serverPort >= 1 && m_settings.serverPort <= 0xFFFF)
        m_services.sockets->SetBasePort(static_cast<uint16_t>(m_settings.serverPort));
}

void CHalvendorDlg::SetUpMenu() {
    m_menu = std::make_unique<MainMenu>(
        m_controls.menu, *this,
        [this](int id) {
            const bool idle = !m_busy.IsLocked();
            switch (id) {
            case mainmsg::kIdCancel:
            case mainmsg::kCmdAbout:
            case mainmsg::kCmdLoadRouterConfig:
            case mainmsg::kCmdSaveRouterConfig:
            case mainmsg::kCmdEmailRouterConfig:
                return MainMenu::ItemState{true, std::nullopt};
            case mainmsg::kCmdCheckForUpdates:
                return MainMenu::ItemState{m_services.updates != nullptr, std::nullopt};
            case mainmsg::kCmdSyncOptions:
                return MainMenu::ItemState{idle, std::nullopt};
            case mainmsg::kCmdStartNow:
                return MainMenu::ItemState{idle && m_chooser.Selection() >= 0, std::nullopt};
            case mainmsg::kCmdCancelSync:
                return MainMenu::ItemState{m_controls.status.IsCancelShown(), std::nullopt};
            case mainmsg::kCmdNewTunesPlayList:
            case mainmsg::kCmdAddFilesToLibrary:
            case mainmsg::kCmdLibraryHtmlList:
                return MainMenu::ItemState{idle, std::nullopt};
            case mainmsg::kCmdAddFilesToPod:
            case mainmsg::kCmdPodHtmlList:
                return MainMenu::ItemState{idle && m_chooser.Selection() >= 0, std::nullopt};
            case mainmsg::kCmdHelp:
            case mainmsg::kCmdReportBug:
            case mainmsg::kCmdOtherProducts:
                return MainMenu::ItemState{m_services.shell != nullptr, std::nullopt};
            case mainmsg::kCmdNewPodPlayList:
                return MainMenu::ItemState{idle && m_chooser.Selection() >= 0 && m_deviceHasPlayLists, std::nullopt};
            case mainmsg::kCmdLinkShuffle:
                return MainMenu::ItemState{idle && m_chooser.Selection() >= 0 && !m_deviceHasPlayLists, std::nullopt};
            default:
                break;
            }
            if (const ToolCommand* tool = ToolCommands::Find(id)) {
                const bool needsDevice = tool->side == ToolSide::Device;
                return MainMenu::ItemState{idle && (!needsDevice || m_chooser.Selection() >= 0), std::nullopt};
            }
            const auto* type = std::find(mainmsg::kSyncTypeCommands.begin(), mainmsg::kSyncTypeCommands.end(), id);
            if (type != mainmsg::kSyncTypeCommands.end()) {
                const int setting = static_cast<int>(type - mainmsg::kSyncTypeCommands.begin());
                return MainMenu::ItemState{idle, m_controls.syncPicture.GetSetting() == setting};
            }
            return MainMenu::ItemState{false, std::nullopt};
        },
        [this](int setting) { return Text(SyncModeName(setting, m_remoteInUse)); });
}

void CHalvendorDlg::SetUpTooltips() {
    m_controls.newTunesPlayList.setToolTip(QStringLiteral("Add Playlist to iTunes"));
    m_controls.newPodPlayList.setToolTip(QStringLiteral("Add Playlist to iPod"));
    m_controls.logButton.setToolTip(QStringLiteral("Show or hide log"));
    m_controls.chooser.setToolTip(QStringLiteral("Change selected iPod/Connect to Remote iTunes"));
    m_controls.syncOptions.setToolTip(QStringLiteral("Change sync options"));
    m_controls.selectPlayLists.setToolTip(QStringLiteral("Select playlists to sync"));
    m_controls.leftPlayLists.setToolTip(QStringLiteral("Change sync'ing iTunes Playlist"));
    m_controls.rightPlayLists.setToolTip(QStringLiteral("Change sync'ing iPod Playlist"));
}

void CHalvendorDlg::ShowLocalAddress() {
    if (m_services.sockets)
        m_controls.localAddress.SetText(QString::fromStdString(m_services.sockets->GetLocalIPv4Text()));
}

// The hosts known from the last run, and those the server program knows now, are handed to the
// socket client; the server program writes its list while the send waits (at most 5 s).
void CHalvendorDlg::LoadKnownHosts() {
    AString folder;
    if (!m_services.sockets || !GetSyncSetsFolder(folder))
        return;
    const HostListStore store(folder);
    std::vector<FoundHost> hosts = store.Load(AString(HostListStore::kKnownHostsName), false);
    if (m_helper.IsRunning()) {
        const int32_t t = static_cast<int32_t>(QDateTime::currentMSecsSinceEpoch());
        if (m_helper.SendHostListReady(t)) {
            for (FoundHost& host : store.Load(AString::FromInt(t), true)) {
                if (!HostListFile::Contains(hosts, host))
                    hosts.push_back(std::move(host));
            }
        }
    }
    m_knownHosts = std::move(hosts);
}

// The scan tries the known hosts first; Bonjour browses until the window ends.
void CHalvendorDlg::StartDiscovery() {
    if (!m_services.sockets)
        return;
    m_discovery = std::make_unique<HostDiscovery>(*m_services.sockets, m_services.dnssdLibrary);
    m_discovery->Start(m_knownHosts);
}

void CHalvendorDlg::StartSession() {
    m_sessionStarter.Start([this] {
        PrepareMountedPods(0);
        if (m_services.library) {
            m_services.library->Reconnect();
            m_services.library->Disconnect();
        }
        PrivateMessage::Post(this, mainmsg::kWmStartSession);
    });
}

uint32_t CHalvendorDlg::PrepareMountedPods(uint32_t mask) {
    uint32_t found = 0;
    for (const PodVolume& volume : FindIPodVolumes(mask)) {
        if (volume.name.IsEmpty())
            continue;
        IPodPrefs::PrepareForSync(volume.root, m_manageIPods != 0, m_manageShuffles != 0);
        found |= volume.driveBit;
    }
    return found;
}

// ---- The busy lock and the workers

void CHalvendorDlg::SetBusyStatus(const QString& text) {
    m_busyStatusText = text;
    const AString line = ToAString(text);
    m_controls.status.SetStatus(ProgressStatusView::kOneLine, &line, nullptr, true);
    m_controls.status.StartAnimation();
}

void CHalvendorDlg::RefreshStatus() {
    m_controls.status.StopAnimation();
    m_controls.status.Refresh();
}

void CHalvendorDlg::EnableControls(bool enable) {
    m_controls.EnableOperationControls(enable, m_deviceHasPlayLists && m_chooser.Count() > 0);
    if (m_menu)
        m_menu->UpdateStates();
}

void CHalvendorDlg::RunOnGui(const std::function<void()>& work) {
    if (!m_shuttingDown)
        GuiThread::RunAndWait(work);
}

void CHalvendorDlg::RetryUntilLocked(std::function<void()> then) {
    if (m_shuttingDown)
        return;
    if (m_busy.TryLock()) {
        then();
        return;
    }
    QTimer::singleShot(kLockRetry, this, [this, then = std::move(then)]() mutable { RetryUntilLocked(std::move(then)); });
}

void CHalvendorDlg::StartInitData(InitDataEnd end, std::chrono::milliseconds delay) {
    const bool startupConfig = end == InitDataEnd::Finished && m_services.startupConfigGiven;
    // The router configuration of the command line is loaded once, after the first data load.
    if (startupConfig)
        m_services.startupConfigGiven = false;
    m_worker.Start([this, end, delay, startupConfig] {
        if (delay.count() > 0)
            std::this_thread::sleep_for(delay);
        const int result = InitData();
        PrivateMessage::Post(this, mainmsg::kWmInitDataFinished, static_cast<intptr_t>(end), result);
        if (startupConfig)
            PrivateMessage::Post(this, mainmsg::kWmStartupConfig, 0, result);
    });
}

int CHalvendorDlg::InitData() {
    if (m_shuttingDown || m_closeRequested)
        return 0;
    RunOnGui([this] { SetBusyStatus(QStringLiteral("Updating local iTunes / iPod information...")); });
    if (const int result = UpdatePlayListsIPodsLists()) {
        LogStepFailure("Failed at UpdatePlayListsIPodsLists() in InitData() \r\n");
        return result;
    }
    int hostEntry = -1;
    RunOnGui([this, &hostEntry] {
        // A device is chosen at once; a host only when the last run ended on it.
        const bool chooseFirst = m_chooser.Count() > 0 && m_chooser.Entries()[0].IsDevice();
        m_chooser.Select(chooseFirst ? 0 : -1);
        FillDevicePlayListCombo();
        if (m_remoteInUse) {
            hostEntry = m_chooser.LastContaining(m_settings.rememberedRemoteHost);
            if (hostEntry < 0 || hostEntry == m_chooser.Count() - 1 ||
                m_chooser.Entries()[hostEntry].kind != ChooserKind::RemoteHost) {
                hostEntry = -1;
                m_remoteInUse = false;
            }
        }
    });
    const int result = hostEntry >= 0 ? LoadRemoteSet(hostEntry) : LoadDeviceSet();
    if (result != 0)
        return result;
    RunOnGui([this] {
        ShowDevicePicture();
        ShowSyncTexts();
        RefreshStatus();
    });
    if (!m_shuttingDown)
        PrivateMessage::Post(this, mainmsg::kWmFillPlayLists);
    return 0;
}

void CHalvendorDlg::LogStepFailure(const char* line) {
    if (m_verboseLog)
        m_progress.LogTime(false, false);
    m_progress.Log(line, true);
    RunOnGui([this] { RefreshStatus(); });
}

// The set is replaced on the GUI thread, which reads it between posted messages (the playlist refill
// among them); only the questions' answers wait for the user.
int CHalvendorDlg::LoadDeviceSet() {
    QString message;
    int loaded = 0;
    RunOnGui([&] {
        const std::optional<DeviceSyncSet::Device> device = ChosenDevice();
        loaded = m_syncSet.LoadRecent(device ? &*device : nullptr, m_controls.syncPicture.GetSetting(), message);
    });
    if (!message.isEmpty())
        m_userInterface->ShowMessage(ToAString(message));
    if (loaded != 0) {
        LogStepFailure("Failed at LoadRecentSyncSet() in InitData() \r\n");
        return loaded;
    }
    int result = 0;
    RunOnGui([&] {
        result = UpdateDialog(false);
        if (result == 1)
            result = NewDefaultSync();
    });
    if (result != 0)
        LogStepFailure("Failed at UpdateDialog() in InitData() \r\n");
    return result;
}

// The host's set is read or made, and shown with the host and the set's mode.
int CHalvendorDlg::LoadRemoteSet(int entry) {
    bool found = false;
    int result = 0;
    RunOnGui([&] {
        m_chooser.Select(entry);
        const std::vector<FoundHost> hosts = m_services.sockets->FoundHosts().Copy();
        const int index = m_chooser.Selected()->index;
        if (index < 0 || index >= static_cast<int>(hosts.size()))
            return;
        found = true;
        result = m_syncSet.MakeRemote(m_services.sockets, hosts[index], m_controls.syncPicture.GetSetting());
        if (result != 0)
            return;
        SelectRemoteHost();
        RefreshRemotePlayLists(hosts[index]);
        m_controls.syncPicture.SetSetting(m_syncSet.Setting());
        int bound = 0;
        if (const auto binding = m_syncSet.Bound(bound))
            SelectSetPlayList(m_controls.leftPlayLists, binding->playList1, false);
    });
    if (!found) {
        m_remoteInUse = false;
        return LoadDeviceSet();
    }
    return result;
}

int CHalvendorDlg::UpdatePlayListsIPodsLists() {
    RunOnGui([this] { m_chooser.SetEntries({}); });
    WindowDeviceHost host(*this);
    if (const int result = m_devices.UpdateUntilDone(host)) {
        if (m_closeRequested)
            PrivateMessage::Post(this, mainmsg::kWmClose);
        return result;
    }
    std::vector<LibraryPlayList> playLists;
    if (m_devices.IsLibraryDetected())
        playLists = m_devices.Library()->PlayLists();
    RunOnGui([&] {
        m_libraryPlayLists = std::move(playLists);
        FillPlayListCombo(3);
    });
    if (!m_shuttingDown)
        PrivateMessage::Post(this, mainmsg::kWmFillPlayLists);
    if (const std::optional<AString> shared = m_devices.SharedPodName()) {
        m_userInterface->ShowMessage(ToAString(DeviceLists::DuplicateNameMessage(*shared)));
        PrivateMessage::Post(this, mainmsg::kWmClose);
        return kErrorDuplicatePodNames;
    }
    const std::vector<FoundHost> hosts =
        m_services.sockets ? m_services.sockets->FoundHosts().Copy() : std::vector<FoundHost>();
    const ChooserEntries entries = m_devices.MakeChooserEntries(hosts, host, m_verboseLog);
    RunOnGui([&] { ApplyChooserEntries(entries); });
    return 0;
}

void CHalvendorDlg::ApplyChooserEntries(const ChooserEntries& entries) {
    m_chooser.SetEntries(entries);
    const bool any = m_chooser.Count() > 0;
    m_controls.rightPlayLists.setEnabled(any && m_deviceHasPlayLists);
    m_controls.chooser.update();
}

// ---- Devices and playlists

std::optional<DeviceSyncSet::Device> CHalvendorDlg::ChosenDevice() const {
    const ChooserEntry* entry = m_chooser.Selected();
    if (!entry || !entry->IsDevice())
        return std::nullopt;
    if (entry->kind == ChooserKind::LibraryPod) {
        const DeviceLists::Pod& pod = m_devices.Pods()[entry->index];
        return DeviceSyncSet::Device{entry->kind, pod.id, pod.name, pod.drive, pod.model.family};
    }
    const DeviceLists::Database& database = m_devices.Databases()[entry->index];
    return DeviceSyncSet::Device{entry->kind, database.id, database.name, database.drive, database.model.family};
}

int CHalvendorDlg::DeviceEntryWithID(const AString& id) const {
    const ChooserEntries& entries = m_chooser.Entries();
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        if (entries[i].kind == ChooserKind::LibraryPod && m_devices.Pods()[entries[i].index].id.CompareNoCase(id) == 0)
            return i;
        if (entries[i].kind == ChooserKind::PodDatabase &&
            m_devices.Databases()[entries[i].index].id.CompareNoCase(id) == 0)
            return i;
    }
    return -1;
}

int CHalvendorDlg::NewDefaultSync() {
    const std::optional<DeviceSyncSet::Device> device = ChosenDevice();
    return m_syncSet.NewDefaultSync(device ? &*device : nullptr, ChosenPlayList(m_controls.leftPlayLists),
                                    ChosenPlayList(m_controls.rightPlayLists), m_controls.syncPicture.GetSetting());
}

// A playlist the combo no longer lists is forgotten, with the snapshot taken under it.
void CHalvendorDlg::SelectSetPlayList(SeparatorComboBox& combo, const AString& name, bool side2) {
    if (!name.IsEmpty()) {
        const int index = combo.findText(ToQString(name));
        if (index > 0 && index < combo.count() - 1) {
            combo.SetCurSel(index);
            (side2 ? m_rightRemembered : m_leftRemembered) = index;
            return;
        }
        m_syncSet.ClearPlayList(side2);
    }
    combo.SetCurSel(0);
    (side2 ? m_rightRemembered : m_leftRemembered) = 0;
}

int CHalvendorDlg::UpdateDialog(bool again) {
    if (m_syncSet.IsEmpty())
        return 0;
    int result = 0;
    const std::optional<DeviceSyncSet::Binding> binding = m_syncSet.Bound(result);
    if (!binding || binding->IsRemote())
        return DeviceSyncSet::kErrorNotADevice;
    if (!binding->id.IsEmpty() && binding->id.CompareNoCase(AString(DeviceLists::kNoPodID)) != 0) {
        const int entry = DeviceEntryWithID(binding->id);
        if (entry < 0)
            return 1;
        m_chooser.Select(entry);
        const DeviceSyncSet::Device device = *ChosenDevice();
        // A set read back from its file may not know the iPod's name: the identifier decides then.
        const bool renamed = !binding->name.IsEmpty() && device.name != binding->name;
        if (DeviceSyncSet::ListTypeOf(device.kind) != binding->type || renamed) {
            // The iPod was renamed or is reached another way now: a new sync, shown once more.
            if (again)
                return 1;
            if (const int made = NewDefaultSync())
                return made;
            return UpdateDialog(true);
        }
        m_syncSet.FollowDrive(device);
    } else {
        m_chooser.Select(-1);
    }
    FillDevicePlayListCombo();
    SelectSetPlayList(m_controls.rightPlayLists, binding->playList2, true);
    SelectSetPlayList(m_controls.leftPlayLists, binding->playList1, false);
    m_controls.syncPicture.SetSetting(m_syncSet.Setting());
    ShowSyncTexts();
    ShowDevicePicture();
    return 0;
}

int CHalvendorDlg::ApplyDeviceChoice(QString& error) {
    const std::optional<DeviceSyncSet::Device> device = ChosenDevice();
    if (!device) {
        if (const int saved = m_syncSet.Save())
            return saved;
        if (const int made = NewDefaultSync())
            return made;
        FillDevicePlayListCombo();
        return UpdateDialog(false);
    }
    FillDevicePlayListCombo();
    if (m_syncSet.IsEmpty())
        return LoadRecentAndUpdate(device);
    int result = 0;
    const std::optional<DeviceSyncSet::Binding> binding = m_syncSet.Bound(result);
    if (!binding) {
        error = QStringLiteral("Unknown Error occured!");
        return DeviceSyncSet::kErrorUnknownBinding;
    }
    const int listed = m_controls.rightPlayLists.findText(ToQString(binding->playList2));
    if (!binding->playList2.IsEmpty() && listed > 0)
        m_controls.rightPlayLists.SetCurSel(listed);
    if (binding->type == DeviceSyncSet::ListTypeOf(device->kind) && binding->id.CompareNoCase(device->id) == 0)
        return UpdateDialog(false);
    if (const int saved = m_syncSet.Save())
        return saved;
    return LoadRecentAndUpdate(device);
}

int CHalvendorDlg::LoadRecentAndUpdate(const std::optional<DeviceSyncSet::Device>& device) {
    QString message;
    const int loaded = m_syncSet.LoadRecent(device ? &*device : nullptr, m_controls.syncPicture.GetSetting(), message);
    // A set that could not be read was replaced by a new one, which the window shows.
    if (!message.isEmpty())
        messagebox::Show(this, message);
    else if (loaded != 0)
        return loaded;
    const int result = UpdateDialog(false);
    return result == 1 ? NewDefaultSync() : result;
}

void CHalvendorDlg::ShowSyncTexts() {
    const int setting = m_controls.syncPicture.GetSetting();
    m_controls.syncPicture.setToolTip(Text(SyncModeName(setting, m_remoteInUse)));
    m_controls.leftInfo.SetText(Text(SyncModeSide1Text(setting, m_remoteInUse)));
    m_controls.rightInfo.SetText(Text(SyncModeSide2Text(setting, m_remoteInUse)));
    m_controls.syncPicture.update();
}

void CHalvendorDlg::ShowDevicePicture() {
    const ChooserEntry* entry = m_chooser.Selected();
    int picture = appskin::kUnknownDevice;
    if (entry && entry->IsDevice())
        picture = DevicePictureOf(entry->ModelKey());
    else if (entry && entry->kind == ChooserKind::RemoteHost)
        picture = appskin::kRemoteLibrary;
    ABitmap& bitmap = m_controls.devicePicture;
    bitmap.LoadImage(picture, ABitmap::kImage);
    bitmap.SetTransparentColor(true, appskin::kTransparentKey);
    bitmap.SizeToImage(ABitmap::kCentre, ABitmap::kFitWidth | ABitmap::kFitHeight);
    bitmap.update();
}

void CHalvendorDlg::ShowSelectPlayListsButton() {
    const bool show = m_controls.leftPlayLists.currentIndex() == 0 &&
                      m_controls.rightPlayLists.currentIndex() == 0 && m_deviceHasPlayLists;
    m_controls.selectPlayLists.setVisible(show);
    m_controls.selectPlayListsCaption.setVisible(show);
}

void CHalvendorDlg::FillDevicePlayListCombo() {
    SeparatorComboBox& combo = m_controls.rightPlayLists;
    combo.clear();
    const ChooserEntry* entry = m_chooser.Selected();
    if (!entry)
        return;
    PlayListCombos::Reset(combo, QLatin1String(PlayListCombos::kPodMainLibrary));
    const std::vector<AString>* names = nullptr;
    if (entry->kind == ChooserKind::LibraryPod)
        names = &m_devices.Pods()[entry->index].playLists;
    else if (entry->kind == ChooserKind::PodDatabase)
        names = &m_devices.Databases()[entry->index].playLists;
    else
        return;
    for (const QString& name : PlayListCombos::Listed(*names))
        combo.addItem(name);
    PlayListCombos::AppendNewPlayList(combo);
    // The set's playlist of the device is chosen afterwards; until then its main library.
    combo.SetCurSel(0);
    m_rightRemembered = 0;
    // Playlists are made on an iPod the library drives; one known by its database alone takes none.
    m_deviceHasPlayLists = entry->kind == ChooserKind::LibraryPod;
    combo.setEnabled(m_deviceHasPlayLists);
    m_controls.newPodPlayList.EnableWindow(m_deviceHasPlayLists);
}

void CHalvendorDlg::FillPlayListCombo(int mode) {
    if (!m_devices.IsLibraryDetected())
        return;
    const bool hide = mode == kHideSpecialMode || m_remoteInUse;
    std::vector<AString> names;
    for (const LibraryPlayList& playList : m_libraryPlayLists) {
        if (!hide || playList.kind == 0)
            names.push_back(playList.name);
    }
    SeparatorComboBox& combo = m_controls.leftPlayLists;
    int bound = 0;
    const std::optional<DeviceSyncSet::Binding> binding = m_syncSet.Bound(bound);
    const QString current = binding ? ToQString(binding->playList1)
                                    : (combo.currentIndex() > 0 ? combo.currentText() : QString());
    PlayListCombos::Fill(combo, QLatin1String(PlayListCombos::kMainLibrary), PlayListCombos::Listed(names), current);
    m_leftRemembered = std::max(combo.currentIndex(), 0);
    ShowSelectPlayListsButton();
}

// The parts of choosing a remote host that the window shows: the host's picture and the remote
// wording, and a right combo with the remote library's main library until its playlists arrive.
void CHalvendorDlg::SelectRemoteHost() {
    m_remoteInUse = true;
    if (const ChooserEntry* entry = m_chooser.Selected()) {
        m_settings.rememberedRemoteHost = entry->text.mid(QLatin1String(ChooserEntry::kRemotePrefix).size());
        m_settings.lastDevice = m_settings.rememberedRemoteHost;
    }
    SeparatorComboBox& combo = m_controls.rightPlayLists;
    combo.clear();
    combo.addItem(QLatin1String(PlayListCombos::kMainLibrary));
    PlayListCombos::AppendNewPlayList(combo);
    combo.SetCurSel(0);
    m_rightRemembered = 0;
    m_deviceHasPlayLists = false;
    ShowDevicePicture();
    ShowSyncTexts();
}

void CHalvendorDlg::RememberLastDevice() {
    const ChooserEntry* entry = m_chooser.Selected();
    if (entry && entry->kind == ChooserKind::LibraryPod)
        m_settings.lastDevice = ToQString(m_devices.Pods()[entry->index].id);
    else if (entry && entry->kind == ChooserKind::PodDatabase)
        m_settings.lastDevice = ToQString(m_devices.Databases()[entry->index].id);
    else if (!m_remoteInUse)
        m_settings.lastDevice.clear();
}

int CHalvendorDlg::RunConnectDialog() {
    if (!m_services.sockets)
        return CConnectDiag::kNoHost;
    CConnectDiag dialog(*m_services.sockets, m_hello, this);
    return dialog.DoModal();
}

void CHalvendorDlg::ChooseFoundHost(int hostIndex) {
    const int entry = HostEntry(m_chooser.Entries(), hostIndex);
    m_chooser.Select(entry);
    if (entry >= 0 || hostIndex < 0)
        return;
    m_chosenHost = hostIndex;
    OnHostsChanged();
}

void CHalvendorDlg::OnDeviceSelChange() {
    const int index = m_chooser.Selection();
    const ChooserEntry* entry = m_chooser.Selected();
    const bool device = !entry || entry->IsDevice();
    if (!m_busy.TryLock()) {
        if (device)
            messagebox::Show(this, QLatin1String(kPleaseWait));
        return;
    }
    EnableControls(false);
    if (device) {
        QString error;
        if (ApplyDeviceChoice(error) != 0) {
            if (!error.isEmpty())
                messagebox::Show(this, error);
            EnableControls(true);
            m_busy.Unlock();
            return;
        }
        RememberLastDevice();
        m_remoteInUse = false;
    }
    m_busy.Unlock();
    if (!device && m_chooser.IsConnectEntry(index))
        ChooseFoundHost(RunConnectDialog());
    if (m_chooser.Selected() && m_chooser.Selected()->kind == ChooserKind::RemoteHost) {
        ChooseRemoteHost();
    } else if (!m_chooser.Selected()) {
        m_remoteInUse = false;
        FillDevicePlayListCombo();
    }
    EnableControls(true);
    ShowDevicePicture();
    ShowSyncTexts();
    FillPlayListCombo(device ? 1 : kHideSpecialMode);
    m_controls.chooser.update();
}

// The host's set replaces the device's at once: reading it is a file, the host is not asked.
void CHalvendorDlg::ChooseRemoteHost() {
    const std::vector<FoundHost> hosts =
        m_services.sockets ? m_services.sockets->FoundHosts().Copy() : std::vector<FoundHost>();
    const int index = m_chooser.Selected()->index;
    if (index >= 0 && index < static_cast<int>(hosts.size()) &&
        m_syncSet.MakeRemote(m_services.sockets, hosts[index], m_controls.syncPicture.GetSetting()) == 0)
        m_controls.syncPicture.SetSetting(m_syncSet.Setting());
    SelectRemoteHost();
    if (index >= 0 && index < static_cast<int>(hosts.size()))
        RefreshRemotePlayLists(hosts[index]);
}

void CHalvendorDlg::RefreshRemotePlayLists(const FoundHost& host) {
    if (!m_services.sockets)
        return;
    if (!m_remoteList) {
        m_remoteList = std::make_unique<ADirTunesRemote>(&m_progress);
        m_remoteList->SetLink(m_services.sockets);
        ADirTunesRemote::SetMainList(m_remoteList.get());
    }
    if (m_remoteFetch.IsWorking()) {
        m_remoteFetchAgain = true;
        return;
    }
    const AString name = AString::FromUtf8(host.name);
    m_remoteList->SetServerAddress(host.address, &name);
    StartRemoteFetch();
}

void CHalvendorDlg::StartRemoteFetch() {
    if (!m_remoteList || m_shuttingDown)
        return;
    if (m_remoteFetch.IsWorking()) {
        m_remoteFetchAgain = true;
        return;
    }
    m_remoteFetch.JoinEnded();
    ADirTunesRemote* list = m_remoteList.get();
    m_remoteFetch.Start([this, list] {
        list->FreeListCache();
        list->GetRemotePlayLists();
        if (!m_shuttingDown)
            PrivateMessage::Post(this, mainmsg::kWmUpdatePlayLists);
    });
}

// The right combo lists the host's own playlists when the window still shows that host.
void CHalvendorDlg::OnUpdatePlayLists() {
    m_remoteFetch.JoinEnded();
    if (std::exchange(m_remoteFetchAgain, false)) {
        if (const ChooserEntry* entry = m_chooser.Selected(); entry && entry->kind == ChooserKind::RemoteHost) {
            const std::vector<FoundHost> hosts = m_services.sockets->FoundHosts().Copy();
            if (entry->index >= 0 && entry->index < static_cast<int>(hosts.size()))
                return RefreshRemotePlayLists(hosts[entry->index]);
        }
    }
    if (!m_remoteInUse || !m_remoteList ||
        m_syncSet.RemoteAddress() != AString::FromUtf8(m_remoteList->GetServerAddress()))
        return;
    std::vector<AString> names;
    for (int i = 0; i < m_remoteList->GetListCount(); ++i) {
        AString name;
        if (m_remoteList->GetListEntry(i, name) == 0)
            names.push_back(name);
    }
    int bound = 0;
    const std::optional<DeviceSyncSet::Binding> binding = m_syncSet.Bound(bound);
    PlayListCombos::Fill(m_controls.rightPlayLists, QLatin1String(PlayListCombos::kMainLibrary),
                         PlayListCombos::Listed(names), binding ? ToQString(binding->playList2) : QString());
    m_rightRemembered = std::max(m_controls.rightPlayLists.currentIndex(), 0);
}

// ---- Playlists

namespace {

constexpr int kNoName = 2;
constexpr int kReservedName = -10002;

bool IsNewPlayListEntry(const SeparatorComboBox& combo) {
    return combo.count() > 1 && combo.currentIndex() == combo.count() - 1;
}

} // namespace

void CHalvendorDlg::OnPlayListChange(bool side2) {
    if (!TakeBusyLock())
        return;
    if (ApplyPlayList(side2))
        messagebox::Show(this, side2 ? QStringLiteral("Error Ocurred!") : QStringLiteral("Error occured!"));
    ShowSelectPlayListsButton();
    m_busy.Unlock();
}

int CHalvendorDlg::ApplyPlayList(bool side2) {
    SeparatorComboBox& combo = side2 ? m_controls.rightPlayLists : m_controls.leftPlayLists;
    int& remembered = side2 ? m_rightRemembered : m_leftRemembered;
    if (m_syncSet.IsEmpty() || combo.currentIndex() < 0 || (side2 && m_chooser.Selection() < 0))
        return 0;
    if (IsNewPlayListEntry(combo)) {
        const int made = side2 ? CreateDevicePlayList() : CreateITunesPlayList();
        if (made == 0)
            return 0;
        combo.SetCurSel(remembered);
        ShowPlayListFailure(made, side2 ? "Could not add Playlist to the iPod!" : "Could not add Playlist to iTunes!");
    }
    remembered = combo.currentIndex();
    m_syncSet.SetPlayList(side2, ChosenPlayList(combo));
    return 0;
}

// A name of blanks only makes no playlist: it counts as no answer.
int CHalvendorDlg::AskPlayListName(AString& name) {
    AddPlayListDlg dialog(this);
    if (dialog.Run() != nativeui::kIdOk || dialog.Name().isEmpty())
        return kNoName;
    name = ToAString(dialog.Name());
    return name.CompareNoCase(PlayListCombos::kLastSync) == 0 ? kReservedName : 0;
}

void CHalvendorDlg::ShowPlayListFailure(int result, const char* failure) {
    if (result == kReservedName)
        messagebox::Show(this, QStringLiteral("Cannot add Playlist by that name because\r\nit is used internally by Orvantis."));
    else if (result != 0 && result != kNoName)
        messagebox::Show(this, QLatin1String(failure));
}

void CHalvendorDlg::AddPlayListEntry(SeparatorComboBox& combo, const AString& name) {
    const int index = std::max(combo.count() - 1, 0);
    combo.insertItem(index, ToQString(name));
    combo.SetCurSel(index);
}

int CHalvendorDlg::CreateITunesPlayList() {
    AString name;
    if (const int asked = AskPlayListName(name))
        return asked;
    if (!m_services.library)
        return kErrorNotSupported;
    EnableControls(false);
    const int result = m_services.library->CreatePlayList(name);
    EnableControls(true);
    if (result != 0)
        return result;
    m_libraryPlayLists.push_back({name, 0});
    AddPlayListEntry(m_controls.leftPlayLists, name);
    return ApplyPlayList(false);
}

// Only another computer's library takes a playlist from here: an iPod known by its database has none
// made, and the iPods the library drives are listed by their databases. The host is asked on a worker.
int CHalvendorDlg::CreateDevicePlayList() {
    AString name;
    if (const int asked = AskPlayListName(name))
        return asked;
    ADirTunesRemote* remote = m_syncSet.RemoteSide();
    if (!m_remoteInUse || !remote) {
        messagebox::Show(this, QStringLiteral("Could not add Playlist to this iPod!"));
        return kNoName;
    }
    EnableControls(false);
    int result = kErrorNotSupported;
    WorkerThread asking;
    asking.Start([&result, remote, name] { result = remote->CreateRemotePlayList(name); });
    asking.WaitInEventLoop(std::chrono::minutes(2));
    asking.JoinEnded();
    EnableControls(true);
    if (result != 0) {
        messagebox::Show(this, QStringLiteral("Could not add Playlist to this Remote iTunes!"));
        return kNoName;
    }
    AddPlayListEntry(m_controls.rightPlayLists, name);
    m_rightRemembered = m_controls.rightPlayLists.currentIndex();
    m_syncSet.SetPlayList(true, name);
    return 0;
}

void CHalvendorDlg::OnNewITunesPlayList() {
    if (!TakeBusyLock())
        return;
    ShowPlayListFailure(CreateITunesPlayList(), "Could not add Playlist to iTunes!");
    m_busy.Unlock();
}

void CHalvendorDlg::OnNewDevicePlayList() {
    if (m_chooser.Selection() < 0)
        return;
    if (!TakeBusyLock())
        return;
    ShowPlayListFailure(CreateDevicePlayList(), "Could not add Playlist to the iPod!");
    m_busy.Unlock();
}

void CHalvendorDlg::OnSelectPlayLists() {
    if (!TakeBusyLock())
        return;
    const QString refusal = StartRefusal();
    PlayListSyncRecordList* records = nullptr;
    if (!refusal.isEmpty())
        messagebox::Show(this, refusal);
    else if (m_syncSet.Set().AttachPlayListSync() != 0 || !(records = m_syncSet.Set().GetPlayListRecords()))
        messagebox::Show(this, QStringLiteral("Error occured!"));
    else
        ChoosePlayLists(*records);
    m_busy.Unlock();
}

void CHalvendorDlg::ChoosePlayLists(PlayListSyncRecordList& records) {
    std::vector<PlayListChoice> choices;
    for (int i = 0; i < records.GetCount(); ++i) {
        const PlayListSyncRecord& record = records.GetRecord(i);
        choices.push_back({record.selected, record.name, record.inList1, record.inList2, record.duplicate});
    }
    SelectPlayListsDlg dialog(this);
    dialog.SetRecords(&choices, m_remoteInUse ? SelectPlayListsDlg::kRemoteHeaders : SelectPlayListsDlg::kPodHeaders);
    if (dialog.Run() != nativeui::kIdOk)
        return;
    for (int i = 0; i < records.GetCount(); ++i)
        records.GetRecord(i).selected = choices[static_cast<size_t>(i)].selected;
}

// ---- Tool work: adding files, HTML lists, help

void CHalvendorDlg::StartToolWork(std::function<std::pair<int, int>()> work) {
    EnableControls(false);
    m_controls.status.ShowCancelButton(true);
    m_controls.SetStartButtonLook(true);
    m_operationRunning = true;
    m_cancelRequested = false;
    m_worker.JoinEnded();
    m_worker.Start([this, work = std::move(work)] {
        const auto [result, count] = work();
        PrivateMessage::Post(this, mainmsg::kWmToolFinished, result, count);
    });
}

void CHalvendorDlg::OnAddFiles(bool toDevice) {
    if (!TakeBusyLock())
        return;
    bool withVideo = SongFileDialog::LibraryTakesVideo();
    if (toDevice && m_chooser.Selection() < 0) {
        messagebox::Show(this, QStringLiteral("No iPod Connected!"));
        m_busy.Unlock();
        return;
    }
    if (const std::optional<DeviceSyncSet::Device> device = toDevice ? ChosenDevice() : std::nullopt) {
        PodModelInfo model;
        if (GetIPodModelInfo(device->drive, model) != 0) {
            messagebox::Show(this, QStringLiteral("Error Ocurred! Operation Aborted."));
            m_busy.Unlock();
            return;
        }
        withVideo = SongFileDialog::PodTakesVideo(model.family);
    }
    std::optional<SongFileSelection> selection = SongFileDialog::Run(this, withVideo, SongFolder());
    if (!selection) {
        m_busy.Unlock();
        return;
    }
    m_songFolder = ToQString(selection->root);
    StartAddFiles(toDevice, std::move(*selection), withVideo);
}

QString CHalvendorDlg::SongFolder() const {
    if (!m_songFolder.isEmpty())
        return m_songFolder;
    const AString musicFolder = ReadMusicFolder();
    return DirectoryExists(musicFolder) ? ToQString(musicFolder) : QString();
}

void CHalvendorDlg::OnDroppedFiles(intptr_t target, const std::vector<AString>& paths) {
    // The picture names itself by its control part's address.
    const auto* devicePicture = static_cast<const SkinnedControl*>(&m_controls.devicePicture);
    const bool toDevice = target == reinterpret_cast<intptr_t>(devicePicture);
    std::optional<SongFileSelection> selection = SongFileSelection::FromPaths(paths);
    if (!selection)
        return;
    if (!TakeBusyLock())
        return;
    if (toDevice && m_chooser.Selection() < 0) {
        messagebox::Show(this, QStringLiteral("No iPod Connected!"));
        m_busy.Unlock();
        return;
    }
    const std::optional<DeviceSyncSet::Device> device = toDevice ? ChosenDevice() : std::nullopt;
    StartAddFiles(toDevice, std::move(*selection),
                  device ? SongFileDialog::PodTakesVideo(device->family) : SongFileDialog::LibraryTakesVideo());
}

// The files join the chosen side of the set's first sync, which lends the run its options.
void CHalvendorDlg::StartAddFiles(bool toDevice, SongFileSelection selection, bool withVideo) {
    auto* first = dynamic_cast<ASyncLib*>(m_syncSet.First());
    if (!first) {
        messagebox::Show(this, QStringLiteral("No Sync Set loaded!"));
        m_busy.Unlock();
        return;
    }
    auto run = std::make_shared<AddSongFilesRun>(*first, toDevice ? ASync::kSide2 : ASync::kSide1, std::move(selection),
                                                 SongFileDialog::TypeList(withVideo), m_progress);
    StartToolWork([this, run] {
        const AddSongFilesRun::Result result = run->Run([this] { return CancelRequested(); });
        return std::make_pair(result.result, result.count);
    });
}

void CHalvendorDlg::OnHtmlList(bool device) {
    if (!m_services.shell)
        return;
    if (!TakeBusyLock())
        return;
    std::shared_ptr<HtmlLibraryList> list;
    if (!device) {
        list = HtmlLibraryList::ForLibrary(ChosenPlayList(m_controls.leftPlayLists), m_progress);
    } else if (const std::optional<DeviceSyncSet::Device> chosen = ChosenDevice()) {
        list = HtmlLibraryList::ForPod(*chosen, ChosenPlayList(m_controls.rightPlayLists), m_progress);
    }
    if (!list) {
        messagebox::Show(this, QStringLiteral("No iPod Connected!"));
        m_busy.Unlock();
        return;
    }
    nativeshell::Shell* shell = m_services.shell;
    StartToolWork([this, list, shell] {
        const HtmlLibraryList::Result result = list->Run([this] { return CancelRequested(); }, *shell);
        return std::make_pair(result.result, result.count);
    });
}

void CHalvendorDlg::OnToolCommand(const ToolCommand& tool) {
    switch (ToolCommands::TryStart(tool, m_chooser.Selection() >= 0, m_busy)) {
    case ToolStart::NoDevice:
        messagebox::Show(this, QLatin1String(ToolCommands::kNoIPodConnected));
        return;
    case ToolStart::Busy:
        messagebox::Show(this, QLatin1String(kPleaseWait));
        return;
    case ToolStart::Started:
        break;
    }
    ToolJob job;
    job.code = tool.code;
    if (ASync* first = m_syncSet.First()) {
        job.library = &first->GetDirectory1();
        job.device = &first->GetDirectory2();
    }
    job.presenter = &m_toolPresenter;
    if (ToolCommands::ExtendsAppleIds(tool))
        m_toolPresenter.SetAppleIdList(&m_appleIds);
    job.cancel = [this] { return CancelRequested(); };
    StartToolWork([this, job] { return std::make_pair(ToolCommands::Run(job, m_progress), 0); });
}

void CHalvendorDlg::OnLinkShuffle() {
    if (!TakeBusyLock())
        return;
    ShuffleLinkChoice choice;
    const ChooserEntry* entry = m_chooser.Selected();
    choice.selected = entry != nullptr;
    choice.hasRecord = entry && entry->kind != ChooserKind::Separator;
    choice.isPodDatabase = entry && entry->kind == ChooserKind::PodDatabase;
    if (choice.isPodDatabase) {
        const DeviceLists::Database& database = m_devices.Databases()[entry->index];
        choice.podName = database.name;
        choice.podRoot = database.drive;
    }
    ShuffleLink::Run(choice, *m_userInterface);
    m_busy.Unlock();
}

void CHalvendorDlg::OnHelpCommand(int id) {
    if (!m_services.shell)
        return;
    if (id == mainmsg::kCmdHelp)
        HelpPages::OpenHelp(*m_services.shell, m_services.programFolder);
    else if (id == mainmsg::kCmdReportBug)
        HelpPages::OpenReportProblem(*m_services.shell);
    else
        HelpPages::OpenOtherProducts(*m_services.shell);
}

// ---- Messages

bool CHalvendorDlg::event(QEvent* event) {
    if (PrivateMessage* message = PrivateMessage::From(event)) {
        if (!m_ended)
            Dispatch(*message);
        return true;
    }
    return MainWindowFrame::event(event);
}

void CHalvendorDlg::Dispatch(PrivateMessage& message) {
    const intptr_t wParam = message.WParam();
    const intptr_t lParam = message.LParam();
    switch (message.Number()) {
    case nativeui::kWmCommand:
        return OnCommand(nativeui::LowWord(wParam), nativeui::HighWord(wParam));
    case mainmsg::kWmSysCommand:
        return OnSysCommand(wParam);
    case mainmsg::kWmClose:
    case mainmsg::kWmExitRequest:
        return CloseWhenIdle();
    case mainmsg::kWmDeviceChange:
        return OnDeviceChange(wParam, static_cast<uint32_t>(lParam));
    case mainmsg::kWmSyncFinished:
        return OnSyncFinished(wParam);
    case mainmsg::kWmToolFinished:
        return OnToolFinished();
    case mainmsg::kWmInitDataFinished:
        return OnInitDataFinished(static_cast<InitDataEnd>(wParam), static_cast<int>(lParam));
    case mainmsg::kWmIPodChanged:
        return OnIPodChanged(1);
    case mainmsg::kWmStartSession:
        return OnStartSession();
    case mainmsg::kWmHostsChanged:
        return OnHostsChanged();
    case mainmsg::kWmHostListReady:
        return OnHostListReady(lParam);
    case mainmsg::kWmScanDone:
        return OnScanDone();
    case mainmsg::kWmCancelOperation:
        return RequestCancel();
    case controlmsg::kWmAddDroppedFiles:
        if (const auto* paths = message.Payload<std::vector<AString>>())
            OnDroppedFiles(lParam, *paths);
        return;
    case controlmsg::kWmComboSelChanged:
        // Every selection of the chooser, by the user or by a data load: an iPod database chosen can be
        // linked to the library.
        if (wParam == reinterpret_cast<intptr_t>(static_cast<SkinnedControl*>(&m_controls.chooser))) {
            const ChooserEntry* entry = m_chooser.Selected();
            m_menu->ShowLinkShuffle(entry && entry->kind == ChooserKind::PodDatabase);
        } else if (lParam == 0 && (wParam == reinterpret_cast<intptr_t>(&m_controls.leftPlayLists) ||
                                   wParam == reinterpret_cast<intptr_t>(&m_controls.rightPlayLists))) {
            ShowSelectPlayListsButton();
        }
        return;
    case mainmsg::kWmUpdatePlayLists:
        return OnUpdatePlayLists();
    case mainmsg::kWmFillPlayLists:
        return OnFillPlayLists();
    case mainmsg::kWmRouterTestFailed:
        if (wParam != 0)
            m_routerStatus = -1;
        return;
    case mainmsg::kWmRouterTestDone:
        if (wParam != 0)
            m_routerStatus = 1;
        return;
    case mainmsg::kWmStartupConfig:
        return OnStartupConfig();
    default:
        // The library's change notices (their payload goes with the message), dropped files and the
        // combos' selection notices need no answer here.
        return;
    }
}

void CHalvendorDlg::OnCommand(int id, int code) {
    if (id >= controlmsg::kSettingFirstCommand && id < controlmsg::kSettingFirstCommand + ASyncSettingBitmap::kModeCount) {
        PrivateMessage::Post(
            this, nativeui::kWmCommand,
            nativeui::MakeWParam(mainmsg::kSyncTypeCommands[id - controlmsg::kSettingFirstCommand], 0));
        return;
    }
    const auto* type = std::find(mainmsg::kSyncTypeCommands.begin(), mainmsg::kSyncTypeCommands.end(), id);
    if (type != mainmsg::kSyncTypeCommands.end())
        return OnSyncType(static_cast<int>(type - mainmsg::kSyncTypeCommands.begin()));
    if (const ToolCommand* tool = ToolCommands::Find(id))
        return OnToolCommand(*tool);
    switch (id) {
    case mainmsg::kCmdLinkShuffle:
        return OnLinkShuffle();
    case mainmsg::kCmdStartNow:
        return OnStartNow();
    case mainmsg::kCmdCancelSync:
        return RequestCancel();
    case mainmsg::kCmdToggleLog:
        return OnToggleLog();
    case mainmsg::kCmdDeviceChooser:
        if (code == controlmsg::kCbnSelChange)
            OnDeviceSelChange();
        return;
    case mainmsg::kCmdLeftPlayList:
    case mainmsg::kCmdRightPlayList:
        if (code == controlmsg::kCbnSelChange)
            OnPlayListChange(id == mainmsg::kCmdRightPlayList);
        return;
    case mainmsg::kCmdNewTunesPlayList:
        return OnNewITunesPlayList();
    case mainmsg::kCmdNewPodPlayList:
        return OnNewDevicePlayList();
    case mainmsg::kCmdSelectPlayLists:
        return OnSelectPlayLists();
    case mainmsg::kCmdAddFilesToLibrary:
    case mainmsg::kCmdAddFilesToPod:
        return OnAddFiles(id == mainmsg::kCmdAddFilesToPod);
    case mainmsg::kCmdLibraryHtmlList:
    case mainmsg::kCmdPodHtmlList:
        return OnHtmlList(id == mainmsg::kCmdPodHtmlList);
    case mainmsg::kCmdHelp:
    case mainmsg::kCmdReportBug:
    case mainmsg::kCmdOtherProducts:
        return OnHelpCommand(id);
    case mainmsg::kCmdSyncOptions:
        return OnSyncOptions();
    case mainmsg::kIdCancel:
    case mainmsg::kCmdExit:
        return CloseWhenIdle();
    case mainmsg::kCmdAbout:
        return OnAbout();
    case mainmsg::kCmdLoadRouterConfig:
        return OnLoadRouterConfig();
    case mainmsg::kCmdSaveRouterConfig:
    case mainmsg::kCmdEmailRouterConfig:
        return OnRouterConfigCommand(id);
    case mainmsg::kCmdCheckForUpdates:
        return OnCheckForUpdates();
    default:
        return;
    }
}

void CHalvendorDlg::OnSysCommand(intptr_t command) {
    switch (command & mainmsg::kScCommandMask) {
    case mainmsg::kScAbout: {
        CAboutDlg about(m_services.programFolder, this);
        about.DoModal();
        return;
    }
    case mainmsg::kScMinimize:
        showMinimized();
        return;
    case mainmsg::kScClose:
        CloseWhenIdle();
        return;
    default:
        return;
    }
}

void CHalvendorDlg::OnAbout() {
    PrivateMessage::Post(this, mainmsg::kWmSysCommand, mainmsg::kScAbout);
}

// Enter hides the window; a second start of the program shows it again.
void CHalvendorDlg::OnOK() {
    showMinimized();
    hide();
}

void CHalvendorDlg::closeEvent(QCloseEvent* event) {
    if (m_ended)
        return event->accept();
    event->ignore();
    CloseWhenIdle();
}

void CHalvendorDlg::OnStartSession() {
    m_sessionStarter.JoinEnded();
    m_busy.Unlock();
    if (m_autoRunPending) {
        EnableControls(true);
        RefreshStatus();
        PrivateMessage::Post(this, mainmsg::kWmIPodChanged);
        m_autoRunPending = false;
        return;
    }
    RetryUntilLocked([this] {
        EnableControls(false);
        m_initialising = true;
        SetBusyStatus(QStringLiteral("Initializing Session..."));
        StartInitData(InitDataEnd::Finished, std::chrono::milliseconds(0));
    });
}

void CHalvendorDlg::OnInitDataFinished(InitDataEnd end, int result) {
    m_worker.JoinEnded();
    switch (end) {
    case InitDataEnd::Finished:
        return OnInitDataEnded(result);
    case InitDataEnd::IPodChanged:
        return OnIPodChangedEnded(result);
    case InitDataEnd::HostsChanged:
        return OnHostsChangedEnded(result);
    }
}

void CHalvendorDlg::OnInitDataEnded(int) {
    m_busy.Unlock();
    m_initialising = false;
    EnableControls(true);
    RefreshStatus();
    m_controls.log.viewport()->update();
    if (m_closeRequested)
        CloseWhenIdle();
    if (m_ended)
        return;
    if (!m_devices.IsLibraryDetected()) {
        if (m_closeRequested) {
            PrivateMessage::Post(this, mainmsg::kWmClose);
            return;
        }
        messagebox::Show(this, QLatin1String(kNeedsLibrary));
        CloseWhenIdle();
        return;
    }
    m_controls.syncPicture.setFocus();
    raise();
    activateWindow();
}

void CHalvendorDlg::OnIPodChanged(int tries) {
    if (m_shuttingDown || m_ended)
        return;
    if (!m_busy.TryLock()) {
        if (tries < kIPodChangedTries)
            QTimer::singleShot(kIPodChangedSpacingMs, this, [this, tries] { OnIPodChanged(tries + 1); });
        return;
    }
    // The music application's stand-in shows a mounted iPod at once: there is no confirmation to wait for.
    m_progress.ClearLog();
    StartInitData(InitDataEnd::IPodChanged, std::chrono::milliseconds(0));
}

// The auto-run that follows a data load without failure chooses a device by its sync set's auto-run
// option, which comes with the sync sets; until then the program stays idle.
void CHalvendorDlg::OnIPodChangedEnded(int result) {
    m_busy.Unlock();
    if (result == 0)
        AutoRun();
}

int CHalvendorDlg::AutoRunEntry() const {
    const ChooserEntries& entries = m_chooser.Entries();
    for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
        if (!entries[i].IsDevice())
            continue;
        const bool pod = entries[i].kind == ChooserKind::LibraryPod;
        const AString& drive = pod ? m_devices.Pods()[entries[i].index].drive : m_devices.Databases()[entries[i].index].drive;
        const AString& id = pod ? m_devices.Pods()[entries[i].index].id : m_devices.Databases()[entries[i].index].id;
        if ((DriveBitOfVolume(drive) & m_autoRunMask) != 0 && m_syncSet.RunsByItself(id))
            return i;
    }
    return -1;
}

void CHalvendorDlg::AutoRun() {
    RetryUntilLocked([this] {
        const int entry = AutoRunEntry();
        if (entry < 0) {
            m_busy.Unlock();
            return;
        }
        m_chooser.Select(entry);
        m_busy.Unlock();
        OnDeviceSelChange();
        if (m_ended || !m_busy.TryLock())
            return;
        const bool run = RunCountdown(QStringLiteral("Preparing to Auto Run..."), kCountdownSteps);
        m_busy.Unlock();
        if (run)
            OnStartNow();
    });
}

void CHalvendorDlg::OnDeviceChange(intptr_t change, uint32_t mask) {
    if (change == mainmsg::kDeviceArrival)
        OnDeviceArrival(mask);
    else if (change == mainmsg::kDeviceRemoveComplete)
        OnDeviceRemoved();
}

void CHalvendorDlg::OnDeviceArrival(uint32_t mask) {
    m_autoRunMask = mask;
    if (mask != 0)
        PrivateMessage::Post(this, mainmsg::kWmIPodChanged);
}

void CHalvendorDlg::OnDeviceRemoved() {
    RetryUntilLocked([this] {
        m_progress.ClearLog();
        EnableControls(false);
        m_initialising = true;
        SetBusyStatus(QStringLiteral("Please wait..."));
        StartInitData(InitDataEnd::Finished, kRemovalDelay);
    });
}

void CHalvendorDlg::OnHostsChanged() {
    if (m_shuttingDown || m_ended)
        return;
    if (!m_busy.TryLock()) {
        QTimer::singleShot(kHostsChangedRetryMs, this, [this] {
            if (!m_shuttingDown)
                PrivateMessage::Post(this, mainmsg::kWmHostsChanged);
        });
        return;
    }
    StartInitData(InitDataEnd::HostsChanged, std::chrono::milliseconds(0));
}

void CHalvendorDlg::OnHostsChangedEnded(int result) {
    m_busy.Unlock();
    if (m_chosenHost >= 0) {
        const int entry = HostEntry(m_chooser.Entries(), m_chosenHost);
        m_chosenHost = -1;
        if (result == 0 && entry >= 0) {
            m_chooser.Select(entry);
            OnDeviceSelChange();
            return;
        }
    }
    if (result != 0 || m_chooser.Selection() >= 0)
        return;
    const bool scanning = m_services.sockets && m_services.sockets->IsScanRunning();
    if (!m_reconnectPending || !scanning) {
        ChooseLastHost();
        return;
    }
    // While the scan runs, only the host of the last run is taken back.
    const int remembered = m_chooser.LastContaining(m_settings.rememberedRemoteHost);
    if (remembered < 0 || remembered == m_chooser.Count() - 1)
        return;
    m_reconnectPending = false;
    m_chooser.Select(remembered);
    OnDeviceSelChange();
}

void CHalvendorDlg::OnScanDone() {
    if (m_chooser.Selection() < 0)
        ChooseLastHost();
}

void CHalvendorDlg::ChooseLastHost() {
    m_reconnectPending = false;
    const int host = LastHostEntry(m_chooser.Entries());
    if (host < 0)
        return;
    m_chooser.Select(host);
    OnDeviceSelChange();
}

void CHalvendorDlg::OnHostListReady(intptr_t name) {
    AString folder;
    if (!m_services.sockets || !GetSyncSetsFolder(folder))
        return;
    const std::vector<FoundHost> hosts =
        HostListStore(folder).Load(AString::FromInt(static_cast<int32_t>(name)), true);
    if (!hosts.empty())
        m_services.sockets->AddFoundHost(hosts.front());
}

void CHalvendorDlg::OnStartupConfig() {
    AString path;
    if (!AppFolders::DataFile(AppFolders::kStartupFileName, path))
        return;
    const nativeini::PrivateProfile startup(path.ToSystem8Bit());
    LoadRouterConfigFile(QString::fromStdString(startup.ReadString("Startup", "file", "Error", kStartupFileChars)));
}

void CHalvendorDlg::OnLoadRouterConfig() {
    AFileDialog dialog(true, QStringLiteral("txfig"), QString(), AFileDialog::kOverwritePrompt,
                       QStringLiteral("Config Files|*.txfig||"), this);
    AString path;
    if (dialog.DoModal() == nativeui::kIdOk && dialog.GetFirstFile(path))
        LoadRouterConfigFile(ToQString(path));
}

// The computer that a router configuration names is tried on a worker; when it answers, it joins the
// found hosts and the data is loaded again.
void CHalvendorDlg::LoadRouterConfigFile(const QString& path) {
    const nativeini::PrivateProfile config(PathToAString(path).ToSystem8Bit());
    FoundHost host;
    host.name = config.ReadString("Stat", "CompName", "Error", kRouterConfigChars).substr(0, FoundHost::kMaxNameLength);
    host.address = FoundHost::CanonicalAddress(config.ReadString("Stat", "ExtIP", "Error", kRouterConfigChars));
    const uint32_t port = StartupCommandLine::ParseNumber(
        QString::fromStdString(config.ReadString("Stat", "ExtPort", "Error", kRouterConfigChars)));
    if (!m_services.sockets || host.address.empty() || port < 1 || port > 0xFFFF) {
        messagebox::Show(this, QLatin1String(CConnectDiag::kCannotConnect));
        return;
    }
    host.port = static_cast<uint16_t>(port);
    MainSockets* sockets = m_services.sockets;
    m_connector.JoinEnded();
    m_connector.Start([this, sockets, host] {
        const bool answered = sockets->Connect(host.address, host.port) == 0;
        if (answered)
            sockets->Disconnect();
        GuiThread::Post(this, [this, sockets, host, answered] {
            if (m_ended)
                return;
            if (!answered) {
                messagebox::Show(this, QLatin1String(CConnectDiag::kCannotConnect));
                return;
            }
            const int before = sockets->FoundHosts().Count();
            sockets->AddFoundHost(host);
            // An appended host is announced by the socket client itself.
            if (sockets->FoundHosts().Count() == before)
                OnHostsChanged();
        });
    });
}

void CHalvendorDlg::OnRouterConfigCommand(int id) {
    RouterConfigCommands commands(m_routerTest, m_helper, m_services.shell);
    if (id == mainmsg::kCmdSaveRouterConfig)
        commands.SaveRouterConfig(this);
    else
        commands.EmailRouterConfig(this);
}

void CHalvendorDlg::OnCheckForUpdates() {
    if (m_services.updates)
        m_services.updates->ShowDialog();
}

bool CHalvendorDlg::TakeBusyLock() {
    if (m_busy.TryLock())
        return true;
    messagebox::Show(this, QLatin1String(kPleaseWait));
    return false;
}

QString CHalvendorDlg::StartRefusal() {
    if (m_syncSet.IsEmpty())
        return QStringLiteral("No Sync Set loaded!");
    if (m_chooser.Selection() < 0)
        return QStringLiteral("No iPod selected!");
    return {};
}

void CHalvendorDlg::OnStartNow() {
    if (m_operationRunning) {
        PrivateMessage::Post(this, mainmsg::kWmCancelOperation);
        m_cancelRequested = true;
        return;
    }
    if (!m_devices.IsLibraryDetected()) {
        messagebox::Show(this, QStringLiteral("iTunes could not be detected!"));
        return;
    }
    if (!TakeBusyLock())
        return;
    QString refusal = m_listThreadRunning ? QLatin1String(kPleaseWait) : StartRefusal();
    if (!refusal.isEmpty()) {
        m_busy.Unlock();
        messagebox::Show(this, refusal);
        return;
    }
    m_syncSet.SetPlayLists(ChosenPlayList(m_controls.leftPlayLists), ChosenPlayList(m_controls.rightPlayLists));
    EnableControls(false);
    m_controls.status.ShowCancelButton(true);
    m_controls.SetStartButtonLook(true);
    m_operationRunning = true;
    m_cancelRequested = false;
    m_shownBeforeSync = m_userInterface->Shown();
    m_worker.JoinEnded();
    m_worker.Start([this] {
        m_progress.ClearLog();
        int bound = 0;
        if (const auto binding = m_syncSet.Bound(bound); binding && binding->IsRemote()) {
            m_progress.Log(AString("Syncing to Remote @ ") + m_syncSet.RemoteAddress(), true);
            m_progress.Log("\r\n", true);
        }
        const int result = m_syncSet.Set().Run([this] { return CancelRequested(); });
        PrivateMessage::Post(this, mainmsg::kWmSyncFinished, result);
    });
}

// A cancel is a request the running work reads at its next poll; the busy lock stays with the work
// until its end handler gives it back, so no other command starts in between. A list the work waits
// on ends as cancelled.
void CHalvendorDlg::RequestCancel() {
    m_cancelRequested = true;
    ActionListDialog::CancelShown();
}

int CHalvendorDlg::CancelRequested() const {
    return m_cancelRequested || m_shuttingDown ? 1 : 0;
}

// A change refused while work runs puts the picture back on the set's mode.
void CHalvendorDlg::OnSyncType(int setting) {
    ASyncSettingBitmap& picture = m_controls.syncPicture;
    picture.SetSetting(setting);
    if (!m_busy.TryLock()) {
        messagebox::Show(this, QLatin1String(kPleaseWait));
        if (!m_syncSet.IsEmpty())
            picture.SetSetting(m_syncSet.Setting());
        ShowSyncTexts();
        return;
    }
    if (!m_syncSet.IsEmpty()) {
        ShowSyncTexts();
        m_syncSet.ApplySetting(setting);
    }
    m_busy.Unlock();
}

void CHalvendorDlg::OnSyncFinished(intptr_t result) {
    m_controls.log.viewport()->update();
    EndOperation();
    TellUntoldFailure(static_cast<int>(result));
    if (!m_shuttingDown)
        PrivateMessage::Post(this, mainmsg::kWmFillPlayLists);
    if (m_remoteInUse)
        StartRemoteFetch();
    const bool closing =
        m_settings.autoClose && RunCountdown(QStringLiteral("Auto closing program..."), kCountdownSteps);
    ReleaseAfterOperation(closing);
}

void CHalvendorDlg::TellUntoldFailure(int result) {
    if (result >= 0 || m_userInterface->Shown() != m_shownBeforeSync)
        return;
    AString line("Error: ");
    line += result;
    GetErrorText(line, result);
    m_progress.Log(line + "\r\n", true);
    messagebox::Show(this, ToQString(line));
}

void CHalvendorDlg::OnToolFinished() {
    m_controls.status.update();
    EndOperation();
    m_toolPresenter.SetAppleIdList(nullptr);
    ReleaseAfterOperation(false);
}

void CHalvendorDlg::EndOperation() {
    m_worker.JoinEnded();
    m_controls.status.ShowCancelButton(false);
    m_controls.SetStartButtonLook(false);
    m_operationRunning = false;
    m_cancelRequested = false;
}

void CHalvendorDlg::ReleaseAfterOperation(bool close) {
    m_busy.Unlock();
    if (close || m_closeRequested)
        CloseWhenIdle();
    if (m_ended)
        return;
    RefreshStatus();
    EnableControls(true);
}

bool CHalvendorDlg::RunCountdown(const QString& message, int steps) {
    WaitDlg wait(this);
    wait.message = message;
    wait.stepCount = steps;
    wait.stepLength = kWaitStepMs;
    wait.cancellable = true;
    return wait.DoModal() == nativeui::kIdOk;
}

void CHalvendorDlg::OnFillPlayLists() {
    FillPlayListCombo(3);
}

// The settings sheet edits the options of the loaded sync set's first sync; without a sync set it
// does not open.
void CHalvendorDlg::OnSyncOptions() {
    if (!TakeBusyLock())
        return;
    if (m_syncSet.IsEmpty()) {
        messagebox::Show(this, QStringLiteral("No Sync Set loaded!"));
        m_busy.Unlock();
        return;
    }
    ASync& first = *m_syncSet.First();
    SyncProperties sheet;
    sheet.global.SetServerLink(&m_helper, m_services.openSettings);
    sheet.global.SetRouterTest(&m_routerTest);
    SyncPropertiesExchange::Fill(sheet, m_settings, first, m_chooser.Selection() >= 0,
                                 SyncPropertiesExchange::RouterTexts(m_helper));
    if (sheet.DoModal(this) == nativeui::kIdOk) {
        SyncPropertiesExchange::Apply(sheet, m_settings, first);
        m_manageIPods = m_settings.manageIPods;
        m_manageShuffles = m_settings.manageShuffles;
        m_verboseLog = first.GetVerboseLog() != 0;
    }
    m_busy.Unlock();
}

void CHalvendorDlg::OnToggleLog() {
    m_settings.logWindow = m_settings.logWindow ? 0 : 1;
    ShowLogPane(m_settings.logWindow != 0);
}

// The window's bottom edge moves in steps of 15 pixels, one step per timer tick.
void CHalvendorDlg::ShowLogPane(bool show) {
    m_logTarget = show ? MainWindowControls::kFullHeight : MainWindowControls::kLogTop;
    m_logAnimation.start();
}

// ---- The end

void CHalvendorDlg::CloseWhenIdle() {
    if (m_ended)
        return;
    if (m_worker.IsWorking() || m_operationRunning) {
        hide();
        if (!m_initialising)
            RequestCancel();
        m_closeRequested = true;
        return;
    }
    AString folder;
    if (m_services.sockets && GetSyncSetsFolder(folder))
        HostListStore(folder).SaveKnown(m_services.sockets->FoundHosts().Copy());
    // The scan, its probes and every connection's wait end at once.
    if (m_discovery)
        m_discovery->Stop();
    m_sessionStarter.WaitInEventLoop(kWorkerEndLimit);
    m_connector.WaitInEventLoop(kWorkerEndLimit);
    m_hello.WaitInEventLoop(kWorkerEndLimit);
    EndDialog();
}

void CHalvendorDlg::EndDialog() {
    m_ended = true;
    m_shuttingDown = true;
    m_volumes.reset();
    m_logAnimation.stop();
    RememberLastDevice();
    m_settings.remoteSelected = m_remoteInUse ? 1 : 0;
    const std::unique_ptr<nativesettings::SettingsKey> key = OpenSettingsKey(m_services.openSettings);
    m_settings.Save(*key);
    m_syncSet.Save();
    if (m_services.sockets)
        m_services.sockets->Shutdown();
    hide();
    QCoreApplication::quit();
}
