#pragma once
// File names under one base folder, each with the file's modification time, sortable by name in
// either direction and saved as a record.

#include "foundation/AString.h"

#include <cstdint>
#include <vector>

class AFile;

class AFileList {
public:
    static constexpr uint32_t kEntryRecordSize = 16;

    // Copies the base path only.
    void Copy(const AFileList& other) { m_basePath = other.m_basePath; }
    // Kept ending in the path separator unless empty.
    void SetBasePath(const AString& path);
    const AString& GetBasePath() const { return m_basePath; }

    // Returns the new entry's index.
    int Add(const AString& name);
    // For names whose time the caller knows, or that name no file (entry texts).
    int Add(const AString& name, uint64_t modTime);
    void InsertAt(const AString& name, int index);
    void InsertAt(const AString& name, int index, uint64_t modTime);
    // The first entry whose name equals `name` with A-Z folded, or -1.
    int Find(const AString& name) const;
    int GetCount() const { return static_cast<int>(m_entries.size()); }
    const AString& GetName(int index) const { return m_entries.at(index).name; }
    uint64_t GetModTime(int index) const { return m_entries.at(index).modTime; }
    void RemoveAt(int index);
    void RemoveAll() { m_entries.clear(); }
    // By name, A-Z folded; equal names keep no defined order.
    void Sort(bool ascending);

    int Serialize(AFile& stream) const;
    // A damaged record leaves the base path and the entries whose names loaded.
    int Load(AFile& stream);

private:
    struct Entry {
        uint64_t modTime = 0;
        AString name;
    };

    Entry MakeEntry(const AString& name) const;

    AString m_basePath;
    std::vector<Entry> m_entries;
};
