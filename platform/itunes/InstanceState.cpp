#include "platform/itunes/InstanceState.h"

#include "platform/itunes/EventSink.h"
#include "platform/itunes/LibraryBackend.h"
#include "platform/itunes/PathLevels.h"
#include "platform/itunes/PodBackend.h"
#include "platform/paths/MusicHome.h"
#include "platform/volumes/VolumeTable.h"

#include <algorithm>
#include <sys/stat.h>

namespace itunesapp {
namespace {

constexpr char kLibraryFolder[] = "iTunes";
constexpr char kLibraryName[] = "iTunes Music Library.xml";
constexpr uint32_t kFnvOffset = 2166136261u;
constexpr uint32_t kFnvPrime = 16777619u;
constexpr uint32_t kPositive32 = 0x7FFFFFFF;

std::string LibraryFileOf(const ITunesInstance::Setup& setup) {
    if (!setup.libraryFile.empty())
        return setup.libraryFile;
    const std::string home = nativepaths::MusicHome();
    return home.empty() ? std::string() : JoinPath(home, {kLibraryFolder, kLibraryName});
}

bool HoldsPodDatabase(const std::string& mountPoint) {
    struct stat info {};
    return stat(PodBackend::DatabaseFileOf(mountPoint).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

InstanceState::InstanceState(ITunesInstance::Setup setup) : m_setup(std::move(setup)) {}

InstanceState::~InstanceState() = default;

void InstanceState::ApplicationGone() {
    if (--m_applications == 0)
        Flush();
}

Status InstanceState::Start() {
    if (m_library)
        return Status::Ok;
    const std::string file = LibraryFileOf(m_setup);
    if (file.empty())
        return Status::Failed;
    const LibraryBackend::Timing timing{m_setup.quietTime, m_setup.longestDelay, m_setup.lockTimeout};
    auto library = std::make_shared<LibraryBackend>(file, m_setup.tagReader, timing, mutex);
    if (!library->Open()) {
        m_startProblem = library->Problem();
        return Status::Unreadable;
    }
    m_startProblem.clear();
    m_library = std::move(library);
    return Status::Ok;
}

std::shared_ptr<SourceBackend> InstanceState::Library(ChangeSet& changes) {
    m_library->Refresh(changes);
    return m_library;
}

std::vector<std::shared_ptr<SourceBackend>> InstanceState::Sources(ChangeSet& changes) {
    std::vector<std::shared_ptr<SourceBackend>> sources{Library(changes)};
    RefreshPods(changes);
    sources.insert(sources.end(), m_pods.begin(), m_pods.end());
    return sources;
}

std::string InstanceState::LibraryProblem() const {
    return m_library ? m_library->Problem() : m_startProblem;
}

SourceBackend* InstanceState::FindSource(int32_t sourceID) const {
    if (m_library && m_library->SourceID() == sourceID)
        return m_library.get();
    const auto pod = std::find_if(m_pods.begin(), m_pods.end(), [sourceID](const auto& candidate) {
        return candidate->SourceID() == sourceID;
    });
    return pod == m_pods.end() ? nullptr : pod->get();
}

bool InstanceState::TakeAddPermission() {
    if (m_refusedAdds <= 0)
        return true;
    --m_refusedAdds;
    return false;
}

void InstanceState::RefuseAdds(int calls) {
    std::lock_guard lock(mutex);
    m_refusedAdds = calls;
}

uint32_t InstanceState::Subscribe(std::shared_ptr<EventSink> sink, uint64_t generation) {
    m_subscriptions.push_back({m_nextCookie, generation, std::move(sink)});
    return m_nextCookie++;
}

bool InstanceState::Unsubscribe(uint32_t cookie) {
    return std::erase_if(m_subscriptions, [cookie](const Subscription& s) { return s.cookie == cookie; }) > 0;
}

void InstanceState::Deliver(const ChangeSet& changes) {
    if (changes.Empty())
        return;
    std::vector<std::shared_ptr<EventSink>> sinks;
    {
        std::lock_guard lock(mutex);
        for (const Subscription& subscription : m_subscriptions) {
            if (subscription.generation == Generation())
                sinks.push_back(subscription.sink);
        }
    }
    for (const auto& sink : sinks)
        sink->OnDatabaseChanged(changes.deleted, changes.changed);
}

void InstanceState::Quit() {
    Flush();
    std::vector<std::shared_ptr<EventSink>> sinks;
    {
        std::lock_guard lock(mutex);
        const uint64_t quitting = m_generation++;
        for (const Subscription& subscription : m_subscriptions) {
            if (subscription.generation == quitting)
                sinks.push_back(subscription.sink);
        }
        std::erase_if(m_subscriptions,
                      [quitting](const Subscription& s) { return s.generation <= quitting; });
    }
    for (const auto& sink : sinks)
        sink->OnQuitting();
}

bool InstanceState::Flush() {
    std::lock_guard lock(mutex);
    return !m_library || m_library->Flush();
}

void InstanceState::RefreshPods(ChangeSet& changes) {
    if (!m_setup.podOpener)
        return;
    const nativevolumes::VolumeTable& table =
        m_setup.volumes ? *m_setup.volumes : nativevolumes::VolumeTable::Instance();
    std::vector<std::shared_ptr<PodBackend>> mounted;
    for (const nativevolumes::Volume& volume : table.List()) {
        if (!HoldsPodDatabase(volume.mountPoint))
            continue;
        const auto known = std::find_if(m_pods.begin(), m_pods.end(), [&volume](const auto& pod) {
            return pod->MountPoint() == volume.mountPoint;
        });
        if (known != m_pods.end()) {
            (*known)->Refresh(changes);
            mounted.push_back(*known);
            continue;
        }
        auto pod = std::make_shared<PodBackend>(NewPodSourceID(volume.mountPoint), volume.mountPoint,
                                                m_setup.podOpener, m_setup.tagReader);
        if (pod->Open())
            mounted.push_back(std::move(pod));
    }
    // The objects of an unmounted iPod fail from now on: they find no source with their id.
    m_pods = std::move(mounted);
}

// The same mount point gives the same id, so that objects of an iPod find it again after a remount.
int32_t InstanceState::NewPodSourceID(const std::string& mountPoint) const {
    uint32_t hash = kFnvOffset;
    for (const char c : mountPoint)
        hash = (hash ^ static_cast<unsigned char>(c)) * kFnvPrime;
    auto id = static_cast<int32_t>(hash & kPositive32);
    while (id <= LibraryBackend::kSourceID || FindSource(id))
        id = static_cast<int32_t>((static_cast<uint32_t>(id) + 1) & kPositive32);
    return id;
}

} // namespace itunesapp
