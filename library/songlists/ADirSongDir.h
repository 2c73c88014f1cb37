#pragma once
// The song list of a plain folder tree of song files. It reads the files like a folder list, then names
// every file by a song entry made from its tags, so that it can be matched with the songs of an iPod or
// of iTunes. Two lists: the files under the root, and the song entries, each ending in "?" and the
// index of its file in the first.

#include "foundation/AFileList.h"
#include "library/songlists/ADirSong.h"

#include <cstdint>
#include <vector>

class ADirSongDir : public ADirSong {
public:
    // Saved lists of this kind lead with this number instead of a version word.
    static constexpr uint32_t kSongDirRecordWord = 10002;

    explicit ADirSongDir(AProgress* progress = nullptr);

    uint32_t GetType() const override { return kTypeSongDir; }
    int GetCount() const override { return m_songEntries.GetCount(); }
    void Sort(uint32_t ascending) override;
    // By index: the number after the last '?' names the file. Otherwise the song entry is looked up
    // (binary search in the direction of the last sort).
    int GetFullPath(const AString& entry, AString& out, uint32_t byIndex) override;
    // 0 when the entry names no file.
    uint64_t GetFileDate(const AString& entry) override;
    int RemoveEntry(int index, uint32_t deleteFile, uint32_t skip) override;
    int DeleteFile(const AString& entry, uint32_t byIndex, uint32_t skip) override;
    int AddFile(const AString& entry, AddFileSongInfo& info) override;
    uint32_t FileExists(const AString& entry) override;
    const AString* GetEntry(int index) override;
    // A file relative to the root, or with `recurse` a folder whose files pass the list's filters.
    int AddEntry(const AString& name, uint32_t recurse) override;
    void Clear() override;
    int Save(AFile& stream, uint32_t flag) override;
    int Load(AFile& stream, uint32_t flag) override;
    int ReadDirectory(const CancelCallback& callback, uint32_t flag) override;
    // What the scan read of the file whose index the entry carries; none after a load.
    bool GetListedFileInfo(const AString& entry, FileInfo& info) const override;

    int MakeSongEntry(const AString& path, AString& out);
    // The entry of a song from tags already read.
    AString BuildSongEntry(const ID3& tags) const;
    // Copies a song file into this tree under its organised folder and name; nothing when it is there.
    int CopySongFile(const AString& source, const AString& name, uint32_t copyMode);

protected:
    int RemoveEntries(const std::vector<int>& indexes) override;
    void AddScannedEntry(const AString& name, const FileInfo& info) override;

private:
    enum class Order { Unsorted, Ascending, Descending };

    static EntryFields FieldsFromFileName(const AString& path);
    AString SongEntryOrFileName(const AString& path);
    int AddSongFile(const AString& name, bool applySongFilters);
    int AddListedFile(const AString& name, const FileInfo& info);
    void AppendSongEntry(const AString& entry);
    int FindSongEntry(const AString& key) const;
    int FileIndexOf(const AString& songEntry) const;
    Order DetectOrder() const;

    AFileList m_songEntries;
    // The size of each file of the file list as it was read; kUnknownSize for files that came with a
    // loaded list. The file list keeps the times.
    static constexpr uint64_t kUnknownSize = UINT64_MAX;
    std::vector<uint64_t> m_fileSizes;
    // The search needs to know how the song entries stand; appends keep it up to date.
    Order m_order = Order::Ascending;
};
