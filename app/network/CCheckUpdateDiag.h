#pragma once
// "Check for updates": a modeless window that follows the update check's state word each second:
// the description's fetch (its bar filling over five minutes), the offer of a newer version, the
// download's progress, and "Install" once the update is whole. A check or download that fails says
// so in our own words. Cancel stops the work at its next look and closes at once.

#include <QDialog>
#include <QTimer>
#include <optional>

#include "app/network/UpdateDescription.h"

class QLabel;
class QProgressBar;
class QPushButton;
class UpdateChecker;

class CCheckUpdateDiag : public QDialog {
public:
    static constexpr int kTickMs = 1000;
    static constexpr int kFetchSteps = 10;
    static constexpr int kBytesPerStep = 1000;
    static constexpr const char* kContacting = "Contacting Server\u2026";
    static constexpr const char* kUpdateAvailable =
        "An update is available, would you like to update to the latest version?";
    static constexpr const char* kNoUpdate = "No update is available, you have the most up to date version.";
    static constexpr const char* kReady = "Your update has been downloaded and is ready to be installed.";
    static constexpr const char* kInstall = "Install";
    static constexpr const char* kDownloading = "Downloading update...";
    static constexpr const char* kCheckFailed = "Unable to get the update information, please try again later.";
    static constexpr const char* kDownloadFailed = "The update could not be downloaded, please try again later.";

    CCheckUpdateDiag(UpdateChecker& checker, int tickMs);

    // Shows the window and starts fetching the description.
    void Begin();
    QString Text() const;
    // The button beside Cancel ("Update", then "Install"), shown when it offers something.
    QPushButton& ActionButton() { return *m_action; }

    void reject() override;

private:
    void OnTimer();
    void OnOK();
    void ShowDescription();
    void ShowDownloadEnd();
    void Finish(const char* text);

    UpdateChecker& m_checker;
    QTimer m_timer;
    int m_elapsed = 0;
    bool m_fetchStarted = false;
    bool m_installReady = false;
    std::optional<UpdateDescription> m_description;
    QProgressBar* m_bar;
    QLabel* m_text;
    QPushButton* m_action;
};
