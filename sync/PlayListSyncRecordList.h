#pragma once
// The playlists a playlist sync may pair: the names of both sides merged into one list sorted by name
// (A-Z folded), each with whether the user chose it and on which sides it is. Saved with the sync set.

#include "foundation/AString.h"

#include <cstdint>
#include <vector>

class ADirSong;
class AFile;

struct PlayListSyncRecord {
    uint32_t selected = 1;
    AString name;
    uint32_t inList1 = 0;
    uint32_t inList2 = 0;
    // A neighbour has the same name but for letter case; not saved.
    uint32_t duplicate = 0;
    // Side 2's own spelling of the name, which may differ from side 1's in letter case; not saved.
    AString name2;

    const AString& NameOnSide2() const { return name2.IsEmpty() ? name : name2; }
};

class PlayListSyncRecordList {
public:
    static constexpr uint32_t kRecordVersion = 0x00100000;
    // More records than this in a file is no list of anyone's playlists.
    static constexpr uint32_t kMaxRecords = 100000;

    int GetCount() const { return static_cast<int>(m_records.size()); }
    PlayListSyncRecord& GetRecord(int index) { return m_records.at(static_cast<size_t>(index)); }
    const PlayListSyncRecord& GetRecord(int index) const { return m_records.at(static_cast<size_t>(index)); }

    // Until the first failing write.
    int Save(AFile& stream) const;
    // -102389 on another version word (the records stay); else the records are read anew until the
    // first failure, those read before it kept; -102392 for a count above kMaxRecords.
    int Load(AFile& stream);
    // Builds the records from the playlist names of both sides; a name seen before keeps its choice. A
    // side whose names cannot be had leaves the records as they were and gives its code.
    int Merge(ADirSong& list1, ADirSong& list2);

private:
    std::vector<PlayListSyncRecord> m_records;
};
