#pragma once
// The update check: once a day in the background, and on demand through the "Check for updates"
// dialog, the update server's description is fetched (HttpFetch: https, or loopback for tests) into a
// private folder of the program's data folder, never the program's own folder. A newer version is
// offered; its update file is downloaded into that folder and counts only when it arrived whole, with
// status 200 and exactly the size the description gave. Nothing downloaded is ever run: "Install"
// opens the folder. The dialog's work runs on one worker at a time and shares with the dialog only
// the state word, the byte count and the cancel flag, so the GUI thread never waits for the network.

#include "app/network/UpdateDescription.h"
#include "platform/http/HttpFetch.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class CCheckUpdateDiag;
class QWidget;
namespace nativeshell {
class Shell;
}

class UpdateChecker {
public:
    static constexpr uint32_t kOwnVersion = 10;
    static constexpr const char* kDescriptionPath = "/update10.ini";
    static constexpr const char* kDescriptionFile = "up.ini";
    static constexpr const char* kFolderName = "Update";
    static constexpr uint64_t kDescriptionLimit = 64 * 1024;
    // The setting that names the update server (the base the paths are appended to).
    static constexpr const char* kAddressSetting = "UpdateAddress";
    static constexpr const char* kDefaultAddress = "https://www.quelloran.com/orvantis";
    static constexpr std::chrono::hours kCheckInterval{1};

    // The dialog's state word.
    enum State : int {
        kFetching = -1,
        kFetched = 0,
        kOffered = -2,
        kDownloading = -3,
        kDownloaded = 1,
        kFinished = 2,
    };

    struct Operations {
        // From the daily check's thread: a newer version is there.
        std::function<void()> newVersionFound;
        // "Install": the program closes so that the update can replace it.
        std::function<void()> closeProgram;
        nativeshell::Shell* shell = nullptr; // opens the folder of the update
    };

    // `folder` is the private folder the description and the update go into.
    UpdateChecker(QString baseAddress, std::string folder, uint32_t ownVersion, Operations operations);
    ~UpdateChecker();
    UpdateChecker(const UpdateChecker&) = delete;
    UpdateChecker& operator=(const UpdateChecker&) = delete;

    // "Update" in the data folder, created for this user alone; empty when it cannot be had.
    static std::string PrivateFolder();

    void StartDailyCheck();
    // Ends the daily check (a fetch under way stops at its next look) and waits for its thread; after
    // this, new-version-found is never called again.
    void StopDailyCheck();
    // Opens the dialog, or brings the open one to the front.
    void ShowDialog();
    // The open dialog, or null.
    CCheckUpdateDiag* Dialog() const;
    // The dialog's time step and how long a fetch may receive nothing, for tests.
    void SetDialogTick(int milliseconds) { m_dialogTickMs = milliseconds; }
    void SetStallLimit(std::chrono::milliseconds limit) { m_stallLimit = limit; }

    // The dialog's work: false while the last job has not ended yet.
    bool StartFetchDescription();
    bool StartDownload(const UpdateDescription& description);
    // The running job stops at its next look; nothing waits for it.
    void Cancel() { m_cancel = true; }

    int State() const { return m_state; }
    void SetState(int state) { m_state = state; }
    // Whether the job that ended last failed.
    bool JobFailed() const { return m_jobFailed; }
    uint64_t Received() const { return m_received; }
    // The description the last fetch read, when it read one.
    std::optional<UpdateDescription> Description() const;
    uint32_t OwnVersion() const { return m_ownVersion; }
    const std::string& Folder() const { return m_folder; }
    void OpenFolder() const;
    void CloseProgram() const;

private:
    // Runs the work on the job thread with the state word set to `state` first.
    bool StartJob(int state, std::function<void()> work);
    std::optional<UpdateDescription> FetchDescription(const std::atomic<bool>* cancel);
    bool Download(const UpdateDescription& description);
    void RunDailyChecks();

    QString m_baseAddress;
    std::string m_folder;
    uint32_t m_ownVersion;
    Operations m_operations;
    int m_dialogTickMs;
    std::chrono::milliseconds m_stallLimit;
    std::unique_ptr<CCheckUpdateDiag> m_dialog;

    std::atomic<int> m_state{kFinished};
    std::atomic<bool> m_jobFailed{false};
    std::atomic<uint64_t> m_received{0};
    std::atomic<bool> m_cancel{false};
    mutable std::mutex m_descriptionLock;
    std::optional<UpdateDescription> m_description;
    std::thread m_job;
    std::shared_ptr<std::atomic<bool>> m_jobDone = std::make_shared<std::atomic<bool>>(true);

    std::atomic<bool> m_stop{false};
    std::mutex m_dailyLock;
    std::condition_variable m_dailyWake;
    int m_lastDay = 0;
    std::thread m_daily;
};
