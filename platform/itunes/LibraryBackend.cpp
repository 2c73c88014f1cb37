#include "platform/itunes/LibraryBackend.h"

#include "platform/files/NativeFiles.h"
#include "platform/files/ReplacementFile.h"
#include "platform/itunes/FileUrl.h"
#include "platform/itunes/PathLevels.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

namespace itunesapp {
namespace {

constexpr char kLockSuffix[] = ".lock";
constexpr char kMusicFolderName[] = "iTunes Music";
constexpr mode_t kNewFileMode = 0644;

std::string LockPathOf(const std::string& file) {
    std::string name = ".";
    name.append(LastLevel(file)).append(kLockSuffix);
    return JoinPath(nativefiles::ParentOf(file), {name});
}

std::string RandomHex64(MediaModel& model) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIX64, model.NewPersistentID());
    return text;
}

} // namespace

LibraryBackend::LibraryBackend(std::string file, std::shared_ptr<TagReader> tagReader, Timing timing,
                               std::mutex& instanceMutex)
    : SourceBackend(kSourceID, SourceKind::Library, std::move(tagReader)), m_file(std::move(file)),
      m_timing(timing), m_instanceMutex(instanceMutex), m_lock(LockPathOf(m_file)) {
    if (m_timing.quietTime.count() > 0) {
        m_saver = std::make_unique<DeferredSaver>(m_timing.quietTime, m_timing.longestDelay, [this] {
            std::lock_guard lock(m_instanceMutex);
            return !m_dirty || SaveNow();
        });
    }
}

LibraryBackend::~LibraryBackend() {
    m_saver.reset();
    if (m_dirty)
        SaveNow();
}

bool LibraryBackend::Open() {
    if (!FileIdentity::Of(m_file).exists) {
        StartNewLibrary();
        return true;
    }
    LibraryHeader header;
    MediaModel model;
    if (!ReadFile(header, model, m_identity, m_unreadable))
        return false;
    m_header = std::move(header);
    m_model = std::move(model);
    m_epoch = NewEpoch();
    return true;
}

void LibraryBackend::StartNewLibrary() {
    m_model = MediaModel();
    m_model.Complete(kLibraryPlaylistName);
    m_header = LibraryHeader();
    m_header.musicFolderUrl =
        FileUrlFromPath(JoinPath(nativefiles::ParentOf(m_file), {kMusicFolderName, ""}));
    m_header.libraryPersistentID = RandomHex64(m_model);
    // The music application hides its library playlist and marks it as holding every item.
    m_model.Main().visible = false;
    m_model.Main().allItems = true;
    m_identity = FileIdentity();
    m_epoch = NewEpoch();
}

void LibraryBackend::Refresh(ChangeSet& changes) {
    // While a change is unsaved this process holds the lock: nobody else can have saved.
    if (m_dirty)
        return;
    const FileIdentity now = FileIdentity::Of(m_file);
    // A library file that disappeared keeps what is known: the next save writes it again.
    if (!now.exists || now == m_identity)
        return;
    LibraryHeader header;
    MediaModel model;
    FileIdentity identity;
    std::string problem;
    if (!ReadFile(header, model, identity, problem)) {
        // Read again only once the file changes again.
        m_identity = now;
        m_unreadable = std::move(problem);
        return;
    }
    m_unreadable.clear();
    m_header = std::move(header);
    m_identity = identity;
    ReplaceModel(std::move(model), changes);
}

Status LibraryBackend::AddFiles(const std::vector<std::string>& paths, std::vector<int32_t>& added,
                                ChangeSet& changes) {
    return Change(changes, [&] {
        std::unordered_set<std::string> seen;
        for (const std::string& path : paths) {
            TrackRecord track;
            if (!seen.insert(path).second || m_model.TrackAt(path) || !ReadSongFile(path, track))
                continue;
            track.id = m_model.NewID();
            track.persistentID = m_model.NewPersistentID();
            added.push_back(track.id);
            m_model.AddTrack(std::move(track));
        }
        if (added.empty())
            return Status::Ok;
        Edit edit{Edit::Kind::TrackFields, added.front()};
        if (const Status committed = CommitChange(edit); committed != Status::Ok) {
            added.clear();
            return committed;
        }
        for (const int32_t id : added)
            changes.TrackChanged(SourceID(), m_model, id);
        return Status::Ok;
    });
}

bool LibraryBackend::Flush() {
    return !m_dirty || SaveNow();
}

std::string LibraryBackend::Problem() const {
    return m_unreadable.empty() ? std::string() : m_file + ": " + m_unreadable;
}

Status LibraryBackend::BeginChange(ChangeSet& changes) {
    if (!m_unreadable.empty())
        return Status::Unreadable;
    if (m_saveFailed)
        return Status::Failed;
    if (m_lock.Held())
        return Status::Ok;
    std::error_code ignored;
    std::filesystem::create_directories(nativefiles::ParentOf(m_file), ignored);
    if (!m_lock.Acquire(m_timing.lockTimeout))
        return Status::Failed;
    Refresh(changes);
    if (!m_unreadable.empty()) {
        m_lock.Release();
        return Status::Unreadable;
    }
    return Status::Ok;
}

// A change that was refused, or needed no saving, leaves the library to the other program.
void LibraryBackend::EndChange() {
    if (!m_dirty)
        m_lock.Release();
}

Status LibraryBackend::CommitChange(Edit&) {
    m_dirty = true;
    if (m_saver) {
        m_saver->Touch();
        return Status::Ok;
    }
    if (SaveNow())
        return Status::Ok;
    RollBack();
    return Status::Failed;
}

void LibraryBackend::RollBack() {
    LibraryHeader header;
    MediaModel model;
    FileIdentity identity;
    std::string problem;
    if (!m_identity.exists) {
        StartNewLibrary();
    } else if (ReadFile(header, model, identity, problem)) {
        m_header = std::move(header);
        m_identity = identity;
        ChangeSet unsaved; // the subscribers never heard of the change that is undone
        ReplaceModel(std::move(model), unsaved);
    } else {
        return; // the change stays unsaved, and the library refuses further changes
    }
    m_dirty = false;
    m_saveFailed = false;
    m_lock.Release();
}

bool LibraryBackend::ReadFile(LibraryHeader& header, MediaModel& model, FileIdentity& identity,
                              std::string& problem) const {
    const nativefiles::FileDescriptor file(open(m_file.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.IsOpen()) {
        problem = std::strerror(errno);
        return false;
    }
    identity = FileIdentity::OfDescriptor(file.Get());
    std::string text;
    text.reserve(identity.size);
    if (!nativefiles::ReadToEnd(file.Get(), text)) {
        problem = std::strerror(errno);
        return false;
    }
    return ReadLibraryText(text, header, model, problem);
}

bool LibraryBackend::SaveNow() {
    if (!WriteFile(WriteLibraryText(m_header, m_model, std::time(nullptr)))) {
        m_saveFailed = true;
        return false;
    }
    m_dirty = false;
    m_saveFailed = false;
    if (m_saver)
        m_saver->Clear();
    m_lock.Release();
    return true;
}

bool LibraryBackend::WriteFile(const std::string& text) {
    std::error_code ignored;
    std::filesystem::create_directories(nativefiles::ParentOf(m_file), ignored);
    nativefiles::ReplacementFile replacement;
    if (!replacement.Begin(m_file))
        return false;
    nativefiles::FileDescriptor& file = replacement.File();
    struct stat old {};
    fchmod(file.Get(), stat(m_file.c_str(), &old) == 0 ? (old.st_mode & 07777) : kNewFileMode);
    if (!nativefiles::WriteAll(file.Get(), text))
        return false;
    const FileIdentity identity = FileIdentity::OfDescriptor(file.Get());
    const bool whole = replacement.PutInPlace(text.size());
    // A folder that could not be flushed still holds the new file: know it as ours, but report the
    // save as failed so that it is made again.
    if (replacement.IsPlaced())
        m_identity = identity;
    return whole;
}

} // namespace itunesapp
