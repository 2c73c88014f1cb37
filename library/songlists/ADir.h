#pragma once
// The base of every song list (a source): entry texts under one root, the type and name filters that
// decide which files belong to it, the handling of removed files, and the record it saves itself as.
// The sync engine works on sources only through the virtual operations below. As a class of its own
// it is a plain folder list that reads a folder tree from disk.

#include "foundation/AFileList.h"
#include "foundation/ASemaphore.h"
#include "foundation/AString.h"
#include "foundation/CancelCallback.h"
#include "foundation/FileInfo.h"
#include "library/entries/SongFilters.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class AFile;
class AProgress;
class ID3;
class ProgressStatusView;
struct AddFileSongInfo;
namespace nativefiles {
struct DirectoryEntry;
}

class ADir {
public:
    enum SourceType : uint32_t {
        kTypeDir = 10000,
        kTypeTunes = 10001,
        kTypePod = 10002,
        kTypeSongDir = 10003,
        kTypePodDB = 10004,
        kTypePlayListsTunes = 10005,
        kTypePlayListsPod = 10006,
        kTypeTunesRemote = 10030,
    };

    static constexpr uint32_t kRecordVersion = 0x0010000D;
    static constexpr const char* kRemovedFilesName = "Removed Files";

    // Without a progress object the list reports to a quiet one of its own, whose log keeps what the
    // list logged (GetProgress().PendingLog()).
    explicit ADir(AProgress* progress = nullptr);
    ADir(const ADir&) = delete;
    ADir& operator=(const ADir&) = delete;
    virtual ~ADir();

    void SetLogTime(uint32_t logTime) { m_logTime = logTime; }
    void SetFlags(uint32_t typeFilterFlags) { m_filters.types.flags = typeFilterFlags; }
    void SetTypeList(const AString& types) { m_filters.types.keep = types; }
    // A list whose caller never asks for the times and sizes of its files spares the scan a look at
    // each file (a stat call): its entries then carry no time.
    void SetScanReadsFileInfo(bool reads) { m_scanReadsFileInfo = reads; }
    void SetExcludeTypeList(const AString& types) { m_filters.types.drop = types; }
    void SetCopyMode(uint32_t copyMode) { m_copyMode = copyMode; }
    void SetProgressCallback(ProgressStatusView* status);
    void SetNameFilter(uint32_t flags, const AString& keepNames, const AString& dropNames);
    void SetRecordFlag(uint32_t recordFlag) { m_recordFlag = recordFlag; }
    void SetAskOnError(uint32_t askOnError) { m_askOnError = askOnError; }
    void SetKeepRemovedFiles(uint32_t keep) { m_keepRemovedFiles = keep; }
    void SetRemovedFilesFolder(const AString& folder) { m_removedFilesFolder = folder; }

    uint32_t GetTypeFilterFlags() const { return m_filters.types.flags; }
    const AString& GetTypeList() const { return m_filters.types.keep; }
    const AString& GetExcludeTypeList() const { return m_filters.types.drop; }
    uint32_t GetNameFilterFlags() const { return m_filters.names.flags; }
    const AString& GetKeepNames() const { return m_filters.names.keep; }
    const AString& GetDropNames() const { return m_filters.names.drop; }
    const SongFilters& GetSongFilters() const { return m_filters; }
    uint32_t GetRecordFlag() const { return m_recordFlag; }
    uint32_t GetAskOnError() const { return m_askOnError; }
    uint32_t GetKeepRemovedFiles() const { return m_keepRemovedFiles; }
    const AString& GetRemovedFilesFolder() const { return m_removedFilesFolder; }
    uint32_t GetCopyMode() const { return m_copyMode; }
    uint32_t GetLogTime() const { return m_logTime; }
    uint32_t GetFullPathEntries() const { return m_fullPathEntries; }
    AProgress& GetProgress() const { return *m_progress; }
    ASemaphore& GetLock() { return m_lock; }

    bool PassesTypeFilter(const AString& path) const { return m_filters.PassesType(path); }
    // Looks at the path below the root only (folder names inside the tree count): where the root
    // lies must not decide which songs belong to the list.
    bool PassesNameFilter(const AString& path) const { return m_filters.PassesName(BelowRoot(path)); }
    // Adds the files of a folder tree (filtered) and its folders (unfiltered) to the entries: 0,
    // 123456 when cancelled, -5 when the folder is not there, -15005 when a folder cannot be listed.
    int ScanFolder(const AString& folder, uint32_t recurse, const CancelCallback& callback);

    virtual uint32_t GetType() const { return kTypeDir; }
    virtual int Open(const AString* path, uint32_t fullPaths, const CancelCallback& callback);
    virtual int GetCount() const { return m_entries.GetCount(); }
    virtual void Sort(uint32_t ascending);
    virtual const AString& GetRootPath() const { return m_rootPath; }
    virtual void SetRootPath(const AString& path);
    virtual int GetFullPath(const AString& entry, AString& out, uint32_t flag);
    // Seconds since 1904; 0 when the file is missing.
    virtual uint64_t GetFileDate(const AString& path);
    virtual int RemoveEntry(int index, uint32_t deleteFile, uint32_t skip);
    virtual int DeleteFile(const AString& path, uint32_t flag, uint32_t skip);
    // -11159: a plain folder has no song information to give.
    virtual int AddFile(const AString& entry, AddFileSongInfo& info);
    virtual uint32_t FileExists(const AString& path);
    // Null for an index outside the list.
    virtual const AString* GetEntry(int index);
    virtual int AddEntry(const AString& name, uint32_t allowEmpty);
    virtual void SetPlayListName(const AString&) {}
    virtual void GetPlayListName(AString&) const {}
    virtual int FindDuplicates(uint32_t full, uint32_t sortFirst, uint32_t ascending,
                               const CancelCallback& callback, uint32_t verbose);
    virtual void Clear();
    virtual int Save(AFile& stream, uint32_t flag);
    virtual int Load(AFile& stream, uint32_t flag);
    virtual int ResetAddState() { return 0; }
    virtual int SaveDatabase() { return 0; }
    virtual int Connect() { return 0; }
    // Where a list that talks to another computer writes its failure lines and transfer progress.
    virtual void SetLinkProgress(AProgress*) {}
    virtual int Disconnect() { return 0; }
    virtual void CopySettings(const ADir& other);
    virtual AString& GetDescription(AString& out, uint32_t flag);
    virtual int ReadDirectory(const CancelCallback& callback, uint32_t flag);
    virtual void BuildTargetFolder(const ID3& tags, AString& folder, uint32_t* unknownArtist,
                                   uint32_t iTunesVersion);
    // The remote list's delete request; a source that is not one cannot reach the other computer.
    virtual int DeleteRemoteFile(const AString& path, uint32_t flag, uint32_t reserved = 0);
    // The size and modification time the list read of an entry's file when it was built, so that
    // comparing two lists asks no file again: false when the list keeps none for it.
    virtual bool GetListedFileInfo(const AString& entry, FileInfo& info) const;

protected:
    // Removes the entries at the given indexes (ascending, distinct) without deleting files: the
    // duplicate scan gathers its removals and hands them over at once.
    virtual int RemoveEntries(const std::vector<int>& indexes);
    // Adds what the folder scan found (a file, or a folder when the list shows folders) with what it
    // read of it.
    virtual void AddScannedEntry(const AString& name, const FileInfo& info);

    // Runs a reading of the list's folder under the progress range that names it.
    int InReadingRange(const std::function<int()>& read);
    // The folder's entries: 0, -5 when the folder is not there, -15005 when it cannot be listed.
    // With `withStatus`, each entry carries its status.
    static int ListFolder(const AString& folder, std::vector<nativefiles::DirectoryEntry>& listing,
                          bool withStatus = false);
    // A file or folder of that name: a move or copy would not replace it.
    static bool PathExists(const AString& path);
    bool IsValidIndex(int index, int count) const { return index >= 0 && index < count; }
    AString JoinRoot(const AString& entry) const;
    // The part of `path` below the root; the whole path when it does not lie there.
    AString BelowRoot(const AString& path) const;
    int MoveToRemovedFiles(const AString& path);
    AString RemovedFilesBase() const;

    // The type and name filters are this class's; the song filters are saved by the song lists.
    SongFilters m_filters;
    uint32_t m_recordFlag = 1;
    uint32_t m_askOnError = 1;
    uint32_t m_keepRemovedFiles = 1;
    AString m_removedFilesFolder;
    uint32_t m_copyMode = 0;
    AString m_rootPath;
    AFileList m_entries;
    uint32_t m_fullPathEntries = 0;
    ASemaphore m_lock;
    uint32_t m_logTime = 1;
    std::unique_ptr<AProgress> m_quietProgress; // when the caller gave none
    AProgress* m_progress;
    // A song folder lists its files only; a plain folder list shows the folders too.
    bool m_scanListsFolders = true;
    bool m_scanReadsFileInfo = true;

private:
    struct ScanState;
    // What the folder scan read of an entry it added (a folder or a file, its size and time). The
    // entries' names lie one after another in one buffer, and once a scan ends a table open to probing
    // finds a record by its name's hash, so that a query costs no allocation and no walk of the disk.
    struct ListedInfo {
        size_t hash;
        uint32_t nameStart;
        uint32_t nameLength;
        FileInfo info;
    };
    void KeepListedInfo(const AString& name, const FileInfo& info);
    void IndexListedInfo();
    // Null when the scan did not list the name.
    const ListedInfo* FindListedInfo(std::u16string_view name) const;
    // The part of a path that names its entry: below the root unless entries are whole paths.
    std::u16string_view EntryPart(const AString& path) const;

    int ScanTree(const AString& folder, bool recurse, const CancelCallback& callback, ScanState& state);
    void ShowReadingStatus();

    std::u16string m_listedNames;
    std::vector<ListedInfo> m_listedInfo;
    // 1 + the index of a record, 0 for a free slot; a power of two in size.
    std::vector<uint32_t> m_listedSlots;
};
