#pragma once
// The library source, kept in the library file that both programs share. A change is made under the
// lock of the file (taken at the first unsaved change, after reading the file again when the other
// program saved it since) and saved later by a deferred saver, or at once when no delay is set: the
// new text goes into a temporary file beside the old one, is synced and renamed over it. A file that
// cannot be read is never saved over: the library then refuses every change, and Problem says why.

#include "platform/itunes/DeferredSaver.h"
#include "platform/itunes/FileIdentity.h"
#include "platform/itunes/LibraryFile.h"
#include "platform/itunes/LockFile.h"
#include "platform/itunes/SourceBackend.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <string>

namespace itunesapp {

class LibraryBackend : public SourceBackend {
public:
    struct Timing {
        std::chrono::milliseconds quietTime{0}; // 0: every change is saved before the call returns
        std::chrono::milliseconds longestDelay{0};
        std::chrono::milliseconds lockTimeout{0};
    };
    static constexpr int32_t kSourceID = 1;

    // `instanceMutex` is the one every call holds; the deferred saver takes it too.
    LibraryBackend(std::string file, std::shared_ptr<TagReader> tagReader, Timing timing,
                   std::mutex& instanceMutex);
    // Saves what is unsaved.
    ~LibraryBackend() override;

    // Reads the file, or starts an empty library when there is none; false when it cannot be read.
    bool Open();
    // The file and why it cannot be read; empty while it can.
    std::string Problem() const;
    std::string Name() const override { return kLibraryPlaylistName; }
    void Refresh(ChangeSet& changes) override;
    Status AddFiles(const std::vector<std::string>& paths, std::vector<int32_t>& added,
                    ChangeSet& changes) override;
    // Saves unsaved changes now; false when that failed.
    bool Flush();

protected:
    Status BeginChange(ChangeSet& changes) override;
    Status CommitChange(Edit& edit) override;
    void EndChange() override;

private:
    // Reads the file with the identity of what was read; false when it is missing or cannot be read,
    // with the reason in `problem`.
    bool ReadFile(LibraryHeader& header, MediaModel& model, FileIdentity& identity, std::string& problem) const;
    void StartNewLibrary();
    bool SaveNow();
    bool WriteFile(const std::string& text);
    // Shows the file as it is after a change could not be saved.
    void RollBack();

    const std::string m_file;
    const Timing m_timing;
    std::mutex& m_instanceMutex;
    LibraryHeader m_header;
    FileIdentity m_identity;
    LockFile m_lock;
    bool m_dirty = false;
    bool m_saveFailed = false;
    std::string m_unreadable; // why the file cannot be read; empty while it can
    std::unique_ptr<DeferredSaver> m_saver;
};

} // namespace itunesapp
