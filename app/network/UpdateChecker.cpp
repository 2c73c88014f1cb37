#include "app/network/UpdateChecker.h"

#include "app/network/CCheckUpdateDiag.h"
#include "app/state/AppFolders.h"
#include "platform/files/NativeFiles.h"
#include "platform/files/ReplacementFile.h"
#include "platform/shell/Shell.h"

#include <QDate>
#include <QUrl>

#include <cerrno>
#include <sys/stat.h>

namespace {

constexpr mode_t kPrivateFolderMode = 0700;
constexpr std::chrono::milliseconds kDescriptionTime{60000};

// Fetches the address into the target, which is replaced only by a whole and accepted body.
bool FetchIntoFile(const QString& address, const nativehttp::FetchLimits& limits, const std::string& target,
                   const std::atomic<bool>* cancel, std::atomic<uint64_t>* received) {
    nativefiles::ReplacementFile file;
    if (!file.Begin(target))
        return false;
    uint64_t written = 0;
    nativehttp::HttpFetch fetch(limits, cancel, received);
    const nativehttp::FetchStatus status = fetch.Run(QUrl(address), [&](std::span<const char> piece) {
        written += piece.size();
        return nativefiles::WriteAll(file.File().Get(), std::string_view(piece.data(), piece.size()));
    });
    return status == nativehttp::FetchStatus::Done && file.PutInPlace(written);
}

} // namespace

UpdateChecker::UpdateChecker(QString baseAddress, std::string folder, uint32_t ownVersion, Operations operations)
    : m_baseAddress(std::move(baseAddress)), m_folder(std::move(folder)), m_ownVersion(ownVersion),
      m_operations(std::move(operations)), m_dialogTickMs(CCheckUpdateDiag::kTickMs),
      m_stallLimit(nativehttp::FetchLimits::kDefaultStall) {
    while (m_baseAddress.endsWith(QLatin1Char('/')))
        m_baseAddress.chop(1);
}

UpdateChecker::~UpdateChecker() {
    StopDailyCheck();
    m_cancel = true;
    if (m_job.joinable())
        m_job.join();
}

void UpdateChecker::StopDailyCheck() {
    {
        std::lock_guard lock(m_dailyLock);
        m_stop = true;
    }
    m_dailyWake.notify_all();
    if (m_daily.joinable())
        m_daily.join();
}

std::string UpdateChecker::PrivateFolder() {
    AString data;
    if (!AppFolders::DataFolder(data))
        return {};
    data.AppendPath(AString(kFolderName));
    const std::string folder = data.ToSystem8Bit();
    if (mkdir(folder.c_str(), kPrivateFolderMode) != 0 && errno != EEXIST)
        return {};
    return folder;
}

void UpdateChecker::StartDailyCheck() {
    if (!m_daily.joinable())
        m_daily = std::thread([this] { RunDailyChecks(); });
}

void UpdateChecker::RunDailyChecks() {
    std::unique_lock lock(m_dailyLock);
    while (!m_stop) {
        const int day = QDate::currentDate().day();
        if (day != m_lastDay) {
            m_lastDay = day;
            lock.unlock();
            // A failed check says nothing: the user did not ask for it.
            const std::optional<UpdateDescription> found = FetchDescription(&m_stop);
            if (found && found->version > m_ownVersion && !m_stop && m_operations.newVersionFound)
                m_operations.newVersionFound();
            lock.lock();
        }
        m_dailyWake.wait_for(lock, kCheckInterval, [this] { return m_stop.load(); });
    }
}

void UpdateChecker::ShowDialog() {
    if (m_dialog && m_dialog->isVisible()) {
        m_dialog->raise();
        m_dialog->activateWindow();
        return;
    }
    m_dialog = std::make_unique<CCheckUpdateDiag>(*this, m_dialogTickMs);
    m_dialog->Begin();
}

CCheckUpdateDiag* UpdateChecker::Dialog() const {
    return m_dialog && m_dialog->isVisible() ? m_dialog.get() : nullptr;
}

bool UpdateChecker::StartJob(int state, std::function<void()> work) {
    if (m_job.joinable() && !m_jobDone->load())
        return false;
    if (m_job.joinable())
        m_job.join();
    // Set before the job runs, which sets the next state when it ends.
    m_state = state;
    m_cancel = false;
    m_jobFailed = false;
    m_received = 0;
    m_jobDone = std::make_shared<std::atomic<bool>>(false);
    m_job = std::thread([work = std::move(work), done = m_jobDone] {
        work();
        *done = true;
    });
    return true;
}

bool UpdateChecker::StartFetchDescription() {
    return StartJob(kFetching, [this] {
        const std::optional<UpdateDescription> found = FetchDescription(&m_cancel);
        {
            std::lock_guard lock(m_descriptionLock);
            m_description = found;
        }
        m_jobFailed = !found;
        m_state = kFetched;
    });
}

bool UpdateChecker::StartDownload(const UpdateDescription& description) {
    return StartJob(kDownloading, [this, description] {
        m_jobFailed = !Download(description);
        m_state = kDownloaded;
    });
}

std::optional<UpdateDescription> UpdateChecker::Description() const {
    std::lock_guard lock(m_descriptionLock);
    return m_description;
}

std::optional<UpdateDescription> UpdateChecker::FetchDescription(const std::atomic<bool>* cancel) {
    if (m_folder.empty())
        return std::nullopt;
    nativehttp::FetchLimits limits;
    limits.maxBytes = kDescriptionLimit;
    limits.total = kDescriptionTime;
    limits.stall = m_stallLimit;
    const std::string path = m_folder + "/" + kDescriptionFile;
    if (!FetchIntoFile(m_baseAddress + QLatin1String(kDescriptionPath), limits, path, cancel, nullptr))
        return std::nullopt;
    return UpdateDescription::Read(path);
}

bool UpdateChecker::Download(const UpdateDescription& description) {
    if (m_folder.empty())
        return false;
    nativehttp::FetchLimits limits;
    limits.maxBytes = description.size;
    limits.exactBytes = description.size;
    limits.stall = m_stallLimit;
    // The name is one path segment, whatever characters it holds.
    const QString address = m_baseAddress + QLatin1Char('/') +
                            QString::fromLatin1(QUrl::toPercentEncoding(QString::fromStdString(description.updateFile)));
    return FetchIntoFile(address, limits, m_folder + "/" + description.updateFile, &m_cancel, &m_received);
}

void UpdateChecker::OpenFolder() const {
    if (m_operations.shell)
        m_operations.shell->OpenPath(QString::fromStdString(m_folder));
}

void UpdateChecker::CloseProgram() const {
    if (m_operations.closeProgram)
        m_operations.closeProgram();
}
