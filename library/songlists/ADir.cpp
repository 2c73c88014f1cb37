#include "library/songlists/ADir.h"

#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/AProgressLite.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/entries/FileNameRule.h"
#include "library/tags/ID3.h"
#include "platform/files/NativeFiles.h"
#include "platform/files/PathSeparator.h"

#include <algorithm>
#include <set>
#include <utility>

namespace {

// The reading status is shown once per so many listed files: building its text costs as much as
// listing a file, and no eye follows it faster.
constexpr int kReadingStatusEvery = 64;

AString WithoutTrailingSeparator(const AString& path) {
    AString result = path;
    while (result.GetLength() > 1 && result.GetAt(result.GetLength() - 1) == kPathSeparator)
        result.Truncate(result.GetLength() - 1);
    return result;
}

AString ParentFolder(const AString& path) {
    const int separator = path.ReverseFind(kPathSeparator);
    return separator <= 0 ? AString(separator == 0 ? "/" : "") : path.Left(separator);
}

AString FileNamePart(const AString& path) {
    return path.Mid(path.ReverseFind(kPathSeparator) + 1);
}

// The four-letter names that an iPod gives the song files it keeps.
bool IsScrambledName(const AString& fileName) {
    const int dot = fileName.Find(u'.');
    const AString stem = dot < 0 ? fileName : fileName.Left(dot);
    if (stem.GetLength() != 4)
        return false;
    for (char16_t c : stem.GetCString()) {
        if (c >= u'a' && c <= u'z')
            return false;
    }
    return true;
}

// "~" goes before the last '.' of the file name, or at its end; never into a folder name.
AString WithTilde(const AString& target) {
    const int nameStart = target.ReverseFind(kPathSeparator) + 1;
    const int dot = target.ReverseFind(u'.');
    AString result = target;
    result.Insert(dot >= nameStart ? dot : target.GetLength(), AString("~"));
    return result;
}

} // namespace

struct ADir::ScanState {
    std::set<std::pair<uint64_t, uint64_t>> visitedFolders;
};

bool ADir::PathExists(const AString& path) {
    return nativefiles::GetStatus(path.ToSystem8Bit()).exists;
}

ADir::ADir(AProgress* progress)
    : m_quietProgress(progress ? nullptr : std::make_unique<AProgressLite>()),
      m_progress(progress ? progress : m_quietProgress.get()) {}

ADir::~ADir() = default;

void ADir::SetProgressCallback(ProgressStatusView* status) {
    m_progress->SetStatus(status);
}

void ADir::SetNameFilter(uint32_t flags, const AString& keepNames, const AString& dropNames) {
    m_filters.names = {flags, keepNames, dropNames};
}

int ADir::ScanFolder(const AString& folder, uint32_t recurse, const CancelCallback& callback) {
    ScanState state;
    const nativefiles::PathStatus status = nativefiles::GetStatus(folder.ToSystem8Bit());
    state.visitedFolders.insert({status.device, status.inode});
    const int result = ScanTree(folder, recurse != 0, callback, state);
    IndexListedInfo();
    return result;
}

void ADir::ShowReadingStatus() {
    if (m_entries.GetCount() % kReadingStatusEvery != 0)
        return;
    AString text("Reading File ");
    text += m_entries.GetCount() + 1;
    text += " from Directory...";
    m_progress->SetPos(0.0, nullptr, &text, nullptr, false);
}

// A folder that cannot be listed is an error, never an empty folder: an empty list would make a
// "make equal" sync delete the other side's songs. The temporary files of writers are no songs: a
// sync would copy them to the other side for good.
int ADir::ListFolder(const AString& folder, std::vector<nativefiles::DirectoryEntry>& listing, bool withStatus) {
    const auto list = withStatus ? nativefiles::ListDirectoryWithStatus : nativefiles::ListDirectory;
    if (!list(folder.ToSystem8Bit(), listing, nativefiles::Listing::WithoutTemporaries))
        return DirectoryExists(folder) ? kErrorListFolder : kErrorInvalidPath;
    return 0;
}

int ADir::ScanTree(const AString& folder, bool recurse, const CancelCallback& callback, ScanState& state) {
    std::vector<nativefiles::DirectoryEntry> listing;
    if (const int result = ListFolder(folder, listing, m_scanReadsFileInfo))
        return result;
    for (const nativefiles::DirectoryEntry& item : listing) {
        if (callback) {
            if (callback())
                return kUserCancel;
            ShowReadingStatus();
        }
        AString fullName = folder;
        fullName.AppendPath(AString::FromSystem8Bit(item.name));
        if (!item.isDirectory && (!PassesTypeFilter(fullName) || !PassesNameFilter(fullName)))
            continue;
        if (!item.isDirectory || m_scanListsFolders) {
            const FileInfo info = m_scanReadsFileInfo ? FileInfoOfStatus(item.status) : FileInfo();
            AddScannedEntry(m_fullPathEntries == 0 ? BelowRoot(fullName) : fullName, info);
        }
        if (!item.isDirectory || !recurse)
            continue;
        // A link back into the tree would list its songs twice (and a duplicate scan would then
        // propose deleting the only copy) or never end.
        const nativefiles::PathStatus status =
            m_scanReadsFileInfo ? item.status : nativefiles::GetStatus(fullName.ToSystem8Bit());
        if (!state.visitedFolders.insert({status.device, status.inode}).second)
            continue;
        if (const int result = ScanTree(fullName, true, callback, state))
            return result;
    }
    return 0;
}

void ADir::AddScannedEntry(const AString& name, const FileInfo& info) {
    m_entries.Add(name, info.modTime);
    KeepListedInfo(name, info);
}

void ADir::KeepListedInfo(const AString& name, const FileInfo& info) {
    if (!info.exists)
        return;
    const std::u16string& text = name.GetCString();
    m_listedInfo.push_back({std::hash<std::u16string_view>{}(text),
                            static_cast<uint32_t>(m_listedNames.size()), static_cast<uint32_t>(text.size()),
                            info});
    m_listedNames += text;
}

void ADir::IndexListedInfo() {
    size_t size = 16;
    while (size < 2 * m_listedInfo.size())
        size *= 2;
    m_listedSlots.assign(size, 0);
    for (size_t i = 0; i < m_listedInfo.size(); ++i) {
        size_t slot = m_listedInfo[i].hash & (size - 1);
        while (m_listedSlots[slot] != 0)
            slot = (slot + 1) & (size - 1);
        m_listedSlots[slot] = static_cast<uint32_t>(i + 1);
    }
}

const ADir::ListedInfo* ADir::FindListedInfo(std::u16string_view name) const {
    if (m_listedSlots.empty())
        return nullptr;
    const size_t mask = m_listedSlots.size() - 1;
    const size_t hash = std::hash<std::u16string_view>{}(name);
    for (size_t slot = hash & mask; m_listedSlots[slot] != 0; slot = (slot + 1) & mask) {
        const ListedInfo& record = m_listedInfo[m_listedSlots[slot] - 1];
        if (record.hash == hash &&
            std::u16string_view(m_listedNames).substr(record.nameStart, record.nameLength) == name)
            return &record;
    }
    return nullptr;
}

std::u16string_view ADir::EntryPart(const AString& path) const {
    const std::u16string_view text(path.GetCString());
    const std::u16string_view root(m_rootPath.GetCString());
    if (m_fullPathEntries || root.empty() || !text.starts_with(root))
        return text;
    return text.substr(root.size());
}

bool ADir::GetListedFileInfo(const AString& entry, FileInfo& info) const {
    const ListedInfo* record = FindListedInfo(EntryPart(entry));
    if (!record || !record->info.exists)
        return false;
    info = record->info;
    return true;
}

int ADir::Open(const AString* path, uint32_t fullPaths, const CancelCallback& callback) {
    if (path)
        m_rootPath = path->WithTrailingSeparator();
    m_entries.SetBasePath(fullPaths ? AString() : m_rootPath);
    m_fullPathEntries = fullPaths;
    Clear();
    return ReadDirectory(callback, 0);
}

void ADir::Sort(uint32_t ascending) {
    m_entries.Sort(ascending != 0);
}

void ADir::SetRootPath(const AString& path) {
    m_rootPath = path.WithTrailingSeparator();
}

int ADir::GetFullPath(const AString& entry, AString& out, uint32_t) {
    out = entry;
    return 0;
}

uint64_t ADir::GetFileDate(const AString& path) {
    return GetFileModTime(path);
}

AString ADir::BelowRoot(const AString& path) const {
    if (m_rootPath.IsEmpty() || path.Left(m_rootPath.GetLength()) != m_rootPath)
        return path;
    return path.Mid(m_rootPath.GetLength());
}

AString ADir::JoinRoot(const AString& entry) const {
    if (m_fullPathEntries || m_rootPath.IsEmpty())
        return entry;
    AString path = m_rootPath;
    path.AppendPath(entry);
    return path;
}

int ADir::RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) {
    if (!IsValidIndex(index, m_entries.GetCount()))
        return kErrorInvalidElement;
    int result = 0;
    if (deleteFile)
        result = DeleteFile(JoinRoot(m_entries.GetName(index)), 1, skip);
    // A removed entry is no longer answered for.
    if (const ListedInfo* record = FindListedInfo(m_entries.GetName(index).GetCString()))
        m_listedInfo[static_cast<size_t>(record - m_listedInfo.data())].info.exists = 0;
    m_entries.RemoveAt(index);
    return result;
}

int ADir::RemoveEntries(const std::vector<int>& indexes) {
    int firstError = 0;
    for (auto index = indexes.rbegin(); index != indexes.rend(); ++index) {
        const int result = RemoveEntry(*index, 0, 0);
        if (firstError == 0)
            firstError = result;
    }
    return firstError;
}

int ADir::DeleteFile(const AString& path, uint32_t flag, uint32_t skip) {
    if (skip)
        return 0;
    if (IsRemotePath(path))
        return GetType() == kTypeTunesRemote ? DeleteRemoteFile(path, flag, 0) : kErrorEndOfStream;
    if (m_keepRemovedFiles == 0)
        return DeleteFileLong(path, m_copyMode != 0);
    return MoveToRemovedFiles(path);
}

int ADir::DeleteRemoteFile(const AString&, uint32_t, uint32_t) {
    return kErrorNotConnected;
}

// The parent of the root, unless the root is the top of its volume: removed files stay on the volume
// they came from.
AString ADir::RemovedFilesBase() const {
    if (!m_removedFilesFolder.IsEmpty())
        return m_removedFilesFolder;
    const AString root = WithoutTrailingSeparator(m_rootPath);
    const AString parent = ParentFolder(root);
    if (parent.IsEmpty())
        return root;
    const nativefiles::PathStatus rootStatus = nativefiles::GetStatus(root.ToSystem8Bit());
    const nativefiles::PathStatus parentStatus = nativefiles::GetStatus(parent.ToSystem8Bit());
    if (rootStatus.exists && parentStatus.exists && rootStatus.device != parentStatus.device)
        return root;
    return parent;
}

int ADir::MoveToRemovedFiles(const AString& path) {
    AString folder = RemovedFilesBase();
    if (folder.IsEmpty())
        return kErrorInvalidPath;
    folder.AppendPath(kRemovedFilesName);
    ID3 tags;
    if (const int result = tags.Read(path))
        return result;
    uint32_t unknownArtist = 0;
    BuildTargetFolder(tags, folder, &unknownArtist, 0);
    if (!folder.IsEmpty()) {
        if (const int result = CreateDirectoryPath(folder))
            return result;
    }
    AString name = FileNamePart(path);
    if (IsScrambledName(name)) {
        AString displayName;
        AString extension;
        tags.GetDisplayName(displayName);
        tags.GetExtension(extension);
        name = SanitizedFileName(displayName, u'_', false) + "." + extension;
    }
    AString target = folder;
    target.AppendPath(name);
    while (PathExists(target))
        target = WithTilde(target);
    return MoveFileLong(path, target, m_copyMode != 0);
}

int ADir::AddFile(const AString&, AddFileSongInfo&) {
    return kErrorFileType;
}

uint32_t ADir::FileExists(const AString& path) {
    return ::FileExists(path) ? 1 : 0;
}

const AString* ADir::GetEntry(int index) {
    if (!IsValidIndex(index, m_entries.GetCount()))
        return nullptr;
    return &m_entries.GetName(index);
}

int ADir::AddEntry(const AString& name, uint32_t allowEmpty) {
    if (name.IsEmpty() && !allowEmpty)
        return kErrorEndOfStream;
    return m_entries.Add(name);
}

int ADir::FindDuplicates(uint32_t, uint32_t, uint32_t, const CancelCallback&, uint32_t) {
    return 0;
}

void ADir::Clear() {
    m_entries.RemoveAll();
    m_listedInfo.clear();
    m_listedNames.clear();
    m_listedSlots.clear();
}

int ADir::Save(AFile& stream, uint32_t) {
    using namespace recordio;
    if (const int result = WriteU32(stream, kRecordVersion))
        return result;
    if (const int result = m_rootPath.Serialize(stream))
        return result;
    if (const int result = WriteU32(stream, m_recordFlag))
        return result;
    for (const SongFilter* filter : {&m_filters.types, &m_filters.names}) {
        if (const int result = filter->Serialize(stream))
            return result;
    }
    if (const int result = m_entries.Serialize(stream))
        return result;
    for (const uint32_t word : {m_fullPathEntries, m_askOnError, m_keepRemovedFiles, m_logTime, m_copyMode}) {
        if (const int result = WriteU32(stream, word))
            return result;
    }
    return m_removedFilesFolder.Serialize(stream);
}

int ADir::Load(AFile& stream, uint32_t) {
    using namespace recordio;
    if (const int result = ReadVersion(stream, kRecordVersion))
        return result;
    if (const int result = m_rootPath.Load(stream))
        return result;
    if (const int result = ReadU32(stream, m_recordFlag))
        return result;
    for (SongFilter* filter : {&m_filters.types, &m_filters.names}) {
        if (const int result = filter->Load(stream))
            return result;
    }
    m_listedInfo.clear();
    m_listedNames.clear();
    m_listedSlots.clear();
    if (const int result = m_entries.Load(stream))
        return result;
    for (uint32_t* word : {&m_fullPathEntries, &m_askOnError, &m_keepRemovedFiles, &m_logTime, &m_copyMode}) {
        if (const int result = ReadU32(stream, *word))
            return result;
    }
    return m_removedFilesFolder.Load(stream);
}

void ADir::CopySettings(const ADir& other) {
    m_filters.types = other.m_filters.types;
    m_filters.names = other.m_filters.names;
    m_askOnError = other.m_askOnError;
    m_keepRemovedFiles = other.m_keepRemovedFiles;
    m_fullPathEntries = other.m_fullPathEntries;
}

AString& ADir::GetDescription(AString& out, uint32_t) {
    out = m_rootPath;
    return out;
}

int ADir::ReadDirectory(const CancelCallback& callback, uint32_t) {
    return InReadingRange([&] { return ScanFolder(m_rootPath, 1, callback); });
}

int ADir::InReadingRange(const std::function<int()>& read) {
    const AString reading("Reading Directory...");
    const AString done("Reading Directory Done!");
    m_progress->PushRange(1.0, &reading, false, false);
    const int result = read();
    m_progress->PopRange(&done, false, false);
    return result;
}

void ADir::BuildTargetFolder(const ID3&, AString&, uint32_t*, uint32_t) {}
