#include "library/songlists/ADirSongDir.h"

#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/CopyWithProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/entries/EntryText.h"
#include "library/songlists/AddFileSongInfo.h"
#include "library/tags/ID3.h"

#include <utility>

ADirSongDir::ADirSongDir(AProgress* progress) : ADirSong(progress) {
    m_filters.types.keep = kSongTypes;
    m_scanListsFolders = false;
}

void ADirSongDir::Sort(uint32_t ascending) {
    m_songEntries.Sort(ascending != 0);
    m_order = ascending ? Order::Ascending : Order::Descending;
}

void ADirSongDir::AppendSongEntry(const AString& entry) {
    const int count = m_songEntries.GetCount();
    if (count > 0 && m_order != Order::Unsorted) {
        const int order = m_songEntries.GetName(count - 1).CompareNoCase(entry);
        if ((m_order == Order::Ascending && order > 0) || (m_order == Order::Descending && order < 0))
            m_order = Order::Unsorted;
    }
    m_songEntries.Add(entry, 0);
}

// Counted loops rather than std::views::iota: clang 14 cannot compile libstdc++ 12's <ranges>, and the
// fuzz build uses clang.
ADirSongDir::Order ADirSongDir::DetectOrder() const {
    bool ascending = true;
    bool descending = true;
    for (int i = 1; i < m_songEntries.GetCount() && (ascending || descending); ++i) {
        const int order = m_songEntries.GetName(i - 1).CompareNoCase(m_songEntries.GetName(i));
        ascending = ascending && order <= 0;
        descending = descending && order >= 0;
    }
    if (ascending)
        return Order::Ascending;
    return descending ? Order::Descending : Order::Unsorted;
}

int ADirSongDir::FindSongEntry(const AString& key) const {
    const int count = m_songEntries.GetCount();
    // The key's place in the direction of the last sort.
    const auto orderAt = [&](int i) {
        const int order = CompareEntryKeys(m_songEntries.GetName(i), key);
        return m_order == Order::Descending ? -order : order;
    };
    if (m_order == Order::Unsorted) {
        for (int i = 0; i < count; ++i)
            if (orderAt(i) == 0)
                return i;
        return -1;
    }
    int low = 0;
    int high = count;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (orderAt(middle) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low < count && orderAt(low) == 0 ? low : -1;
}

int ADirSongDir::FileIndexOf(const AString& songEntry) const {
    int64_t index = -1;
    if (!ParseEntryId(songEntry, index) || index < 0 || index >= m_entries.GetCount())
        return -1;
    return static_cast<int>(index);
}

int ADirSongDir::GetFullPath(const AString& entry, AString& out, uint32_t byIndex) {
    int fileIndex = -1;
    if (byIndex) {
        fileIndex = FileIndexOf(entry);
    } else {
        const int found = FindSongEntry(EntryBelowRoot(entry, m_rootPath));
        if (found >= 0)
            fileIndex = FileIndexOf(m_songEntries.GetName(found));
    }
    if (fileIndex < 0)
        return kErrorUnknownSongEntry;
    out = JoinRoot(m_entries.GetName(fileIndex));
    return 0;
}

// A lookup failure gives 0, never its code: a negative code read as a date would be the newest of all.
uint64_t ADirSongDir::GetFileDate(const AString& entry) {
    AString path;
    if (GetFullPath(entry, path, 0) != 0)
        return 0;
    return GetFileModTime(path);
}

int ADirSongDir::RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) {
    if (!IsValidIndex(index, m_songEntries.GetCount()))
        return kErrorInvalidElement;
    int result = 0;
    if (deleteFile)
        result = DeleteFile(m_songEntries.GetName(index), 1, skip);
    m_songEntries.RemoveAt(index);
    return result;
}

int ADirSongDir::RemoveEntries(const std::vector<int>& indexes) {
    AFileList kept;
    kept.SetBasePath(m_songEntries.GetBasePath());
    size_t next = 0;
    for (int i = 0; i < m_songEntries.GetCount(); ++i) {
        if (next < indexes.size() && indexes[next] == i) {
            ++next;
            continue;
        }
        kept.Add(m_songEntries.GetName(i), m_songEntries.GetModTime(i));
    }
    m_songEntries = std::move(kept);
    return 0;
}

int ADirSongDir::DeleteFile(const AString& entry, uint32_t byIndex, uint32_t skip) {
    AString path;
    if (const int result = GetFullPath(entry, path, byIndex))
        return result;
    if (!::FileExists(path))
        return 0;
    return ADir::DeleteFile(path, byIndex, skip);
}

int ADirSongDir::AddFile(const AString& entry, AddFileSongInfo& info) {
    AString path;
    if (const int result = GetFullPath(entry, path, 0))
        return result;
    ID3 tags;
    if (const int result = tags.Read(path))
        return result;
    info.duration = tags.GetDuration();
    info.bitRate = tags.GetBitRate();
    return 0;
}

uint32_t ADirSongDir::FileExists(const AString& entry) {
    AString path;
    return GetFullPath(entry, path, 0) == 0 && ::FileExists(path) ? 1 : 0;
}

const AString* ADirSongDir::GetEntry(int index) {
    if (!IsValidIndex(index, m_songEntries.GetCount()))
        return nullptr;
    return &m_songEntries.GetName(index);
}

AString ADirSongDir::BuildSongEntry(const ID3& tags) const {
    return BuildEntryText(EntryFieldsOf(tags), m_layout);
}

int ADirSongDir::MakeSongEntry(const AString& path, AString& out) {
    ID3 tags;
    if (const int result = tags.Read(path))
        return result;
    out = BuildSongEntry(tags);
    return 0;
}

// A file whose tags cannot be read is named by its file name and size, as a file without tags would
// be: an empty name would make every such file a duplicate of every other.
EntryFields ADirSongDir::FieldsFromFileName(const AString& path) {
    EntryFields fields;
    fields.title = path.GetFileTitle();
    path.GetExtension(fields.type);
    fields.audioSize = [size = GetFileSize64(path)] { return size; };
    return fields;
}

AString ADirSongDir::SongEntryOrFileName(const AString& path) {
    AString entry;
    const int result = MakeSongEntry(path, entry);
    if (result == 0)
        return entry;
    m_progress->LogError(result, AString("Tags unreadable, listed by file name: "), path);
    return BuildEntryText(FieldsFromFileName(path), m_layout);
}

int ADirSongDir::ReadDirectory(const CancelCallback& callback, uint32_t flag) {
    m_progress->PushRange(0.5);
    const int scanResult = ADir::ReadDirectory(callback, flag);
    m_progress->PopRange();
    if (scanResult != 0)
        return scanResult;

    const AString reading("Reading Song Directory...");
    const AString done("Reading Song Directory Done!");
    m_progress->PushRange(0.5, &reading, false, false);
    const int count = m_entries.GetCount();
    for (int i = 0; i < count; ++i) {
        if (callback && callback()) {
            m_progress->PopRange();
            return kUserCancel;
        }
        const AString step = AString::FromInt(i + 1) + " / " + AString::FromInt(count);
        m_progress->SetPos(double(i + 1) / count, &step);
        AString entry = SongEntryOrFileName(JoinRoot(m_entries.GetName(i)));
        AppendEntryId(entry, i);
        if (PassesSongFilters(entry))
            AppendSongEntry(entry);
    }
    m_progress->PopRange(&done, false, false);
    return 0;
}

int ADirSongDir::AddListedFile(const AString& name, const FileInfo& info) {
    const int index = m_entries.Add(name, info.modTime);
    m_fileSizes.resize(static_cast<size_t>(index), kUnknownSize);
    m_fileSizes.push_back(info.size);
    return index;
}

void ADirSongDir::AddScannedEntry(const AString& name, const FileInfo& info) {
    AddListedFile(name, info);
}

bool ADirSongDir::GetListedFileInfo(const AString& entry, FileInfo& info) const {
    const int index = FileIndexOf(entry);
    if (index < 0 || static_cast<size_t>(index) >= m_fileSizes.size() || m_fileSizes[index] == kUnknownSize)
        return false;
    info = FileInfo();
    info.exists = 1;
    info.size = m_fileSizes[index];
    info.modTime = m_entries.GetModTime(index);
    return true;
}

int ADirSongDir::AddSongFile(const AString& name, bool applySongFilters) {
    AString entry;
    const AString path = JoinRoot(name);
    if (MakeSongEntry(path, entry) != 0)
        return kErrorEndOfStream;
    FileInfo info;
    GetFileInfo(path, info);
    const int index = AddListedFile(name, info);
    AppendEntryId(entry, index);
    if (!applySongFilters || PassesSongFilters(entry))
        AppendSongEntry(entry);
    return index;
}

// A folder is added with the list's own filters: its files must pass the type, name and song filters
// as they would when the whole tree is read.
int ADirSongDir::AddEntry(const AString& name, uint32_t recurse) {
    const AString path = JoinRoot(name);
    if (!DirectoryExists(path))
        return AddSongFile(name, false);
    if (!recurse)
        return kErrorEndOfStream;
    ADir scanner(m_progress);
    scanner.CopySettings(*this);
    scanner.SetRootPath(m_rootPath);
    scanner.ScanFolder(path, 1, CancelCallback());
    for (int i = 0; i < scanner.GetCount(); ++i) {
        const AString& found = *scanner.GetEntry(i);
        if (!DirectoryExists(JoinRoot(found)))
            AddSongFile(found, true);
    }
    return kErrorEndOfStream;
}

void ADirSongDir::Clear() {
    m_songEntries.RemoveAll();
    m_fileSizes.clear();
    m_order = Order::Ascending;
    ADirSong::Clear();
}

int ADirSongDir::Save(AFile& stream, uint32_t) {
    if (const int result = recordio::WriteU32(stream, kSongDirRecordWord))
        return result;
    if (const int result = ADirSong::Save(stream, 0))
        return result;
    return m_songEntries.Serialize(stream);
}

// The song entries name their files by index: once the file list may have changed, song entries of
// the old list would name other files, so a load that fails on the way leaves no song entries.
int ADirSongDir::Load(AFile& stream, uint32_t) {
    if (const int result = recordio::ReadVersion(stream, kSongDirRecordWord))
        return result;
    // A loaded file list says nothing of the files as they are now.
    m_fileSizes.clear();
    if (const int result = ADirSong::Load(stream, 0)) {
        m_songEntries.RemoveAll();
        m_order = Order::Ascending;
        return result;
    }
    const int result = m_songEntries.Load(stream);
    m_order = DetectOrder();
    return result;
}

int ADirSongDir::CopySongFile(const AString& source, const AString& name, uint32_t copyMode) {
    AString folder = m_rootPath;
    AString fileName = name;
    if (const int result = MakeTargetName(source, folder, fileName, 0))
        return result;
    if (!DirectoryExists(folder)) {
        if (const int result = CreateDirectoryPath(folder))
            return result;
    }
    AString target = folder;
    target.AppendPath(fileName);
    if (::FileExists(target))
        return 0;
    return CopyWithProgress(source, target, CancelCallback(), m_progress, copyMode != 0);
}
