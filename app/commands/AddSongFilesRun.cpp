#include "app/commands/AddSongFilesRun.h"

#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "library/songlists/ADirSongDir.h"
#include "sync/ASyncLib.h"
#include "sync/SyncOptions.h"

#include <utility>
#include <vector>

namespace {

bool Cancelled(const CancelCallback& cancel) {
    return cancel && cancel() != 0;
}

// The files of the types below a folder as full paths: the scanner has no root.
int ScanFiles(const AString& folder, const AString& fileTypes, const CancelCallback& cancel,
              AProgress& progress, std::vector<AString>& files) {
    ADir scanner(&progress);
    scanner.SetTypeList(fileTypes);
    scanner.SetFlags(SongFilter::kKeepListed);
    if (const int result = scanner.ScanFolder(folder, 1, cancel))
        return result;
    for (int i = 0; i < scanner.GetCount(); ++i) {
        const AString& path = *scanner.GetEntry(i);
        if (!DirectoryExists(path))
            files.push_back(path);
    }
    return 0;
}

AString BelowFolder(const AString& folder, const AString& path) {
    AString entry = path.Mid(folder.GetLength());
    while (!entry.IsEmpty() && entry.GetAt(0) == u'/')
        entry.Delete(0);
    return entry;
}

// The target's type and path filters are off while the run reads it: the chosen files are compared
// with every song the target holds, not only with those its sync keeps.
class FilterPause {
public:
    explicit FilterPause(ADir& target)
        : m_target(target), m_typeFlags(target.GetTypeFilterFlags()),
          m_nameFlags(target.GetNameFilterFlags()) {
        m_target.SetFlags(0);
        SetNameFlags(0);
    }
    ~FilterPause() {
        m_target.SetFlags(m_typeFlags);
        SetNameFlags(m_nameFlags);
    }
    FilterPause(const FilterPause&) = delete;
    FilterPause& operator=(const FilterPause&) = delete;

private:
    void SetNameFlags(uint32_t flags) {
        const AString keep = m_target.GetKeepNames();
        const AString drop = m_target.GetDropNames();
        m_target.SetNameFilter(flags, keep, drop);
    }

    ADir& m_target;
    uint32_t m_typeFlags;
    uint32_t m_nameFlags;
};

} // namespace

AddSongFilesRun::AddSongFilesRun(ASyncLib& first, ASync::Side target, SongFileSelection selection,
                                 AString fileTypes, AProgress& progress)
    : m_first(first), m_side(target), m_target(first.ShareDirectory(target)),
      m_selection(std::move(selection)), m_fileTypes(std::move(fileTypes)), m_progress(progress) {}

int AddSongFilesRun::ExpandFolderEntries(SongFileSelection& selection, bool expand, const AString& fileTypes,
                                         const CancelCallback& cancel, AProgress& progress) {
    const AString appending(kAppendingText);
    std::vector<AString> entries;
    for (const AString& entry : selection.entries) {
        if (Cancelled(cancel))
            return kUserCancel;
        const AString folder = selection.FullPath(entry);
        if (!DirectoryExists(folder)) {
            entries.push_back(entry);
            continue;
        }
        if (!expand)
            continue;
        std::vector<AString> files;
        if (const int result = ScanFiles(folder, fileTypes, cancel, progress, files))
            return result;
        progress.StartStatusTimer();
        const int count = static_cast<int>(files.size());
        for (int i = 0; i < count; ++i) {
            if (Cancelled(cancel)) {
                progress.StopStatusTimer();
                return kUserCancel;
            }
            const AString position = AString::FromInt(i + 1) + " / " + AString::FromInt(count);
            progress.SetPos(double(i + 1) / count, &appending, &position);
            entries.push_back(BelowFolder(selection.root, files[i]));
        }
        progress.StopStatusTimer();
    }
    selection.entries = std::move(entries);
    return 0;
}

AddSongFilesRun::Result AddSongFilesRun::Run(const CancelCallback& cancel) {
    if (const int result = ExpandFolderEntries(m_selection, true, m_fileTypes, cancel, m_progress))
        return {result, 0};
    m_progress.ClearLog();
    FilterPause pause(*m_target);
    auto files = std::make_shared<ADirSongDir>(&m_progress);
    files->CopySettings(*m_target);
    files->SetRootPath(m_selection.root);
    if (const int result = FillFileList(*files, cancel))
        return {result, 0};
    const int count = files->GetCount();
    return {RunSync(std::move(files), cancel), count};
}

// A file whose tags cannot be read is left out; the song folder list logs it.
int AddSongFilesRun::FillFileList(ADirSongDir& files, const CancelCallback& cancel) const {
    for (const AString& entry : m_selection.entries) {
        if (Cancelled(cancel))
            return kUserCancel;
        files.AddEntry(entry, 0);
    }
    return 0;
}

int AddSongFilesRun::RunSync(std::shared_ptr<ADirSongDir> files, const CancelCallback& cancel) const {
    const uint32_t targetType = m_side == ASync::kSide1 ? m_first.GetType1() : m_first.GetType2();
    ASyncLib sync(ADir::kTypeSongDir, targetType, &m_progress);
    // The target takes these words from the sync it joins: the first sync's keep them as they are.
    sync.SetStopOnError(m_first.GetStopOnError());
    sync.SetForceReadOnly(m_first.GetForceReadOnly());
    sync.SetVerboseLog(m_first.GetVerboseLog());
    sync.SetListOption(m_first.GetListOption());
    sync.SetVerifyCopies(m_first.GetVerifyCopies());
    sync.CreateNewLists(files, m_target);
    sync.CopySyncOptions(m_first, false);
    sync.SetDirection(kDirection1To2);
    sync.SetDeleteMode(0);
    const int result = sync.Process(cancel, ASync::kBuildList2);
    sync.UseNewLists();
    return result;
}
