#pragma once
// The playlist sync: the playlists of the two sides of a sync set's first song sync, paired by name.
// Its entries are playlist names ("?0" stands for the main library and comes first); the ordinary
// one-way and two-way decisions say which chosen playlists are to be made on the other side or
// deleted. The sync set turns each resulting action into a song sync limited to that playlist.

#include "foundation/AString.h"
#include "library/songlists/ADir.h"
#include "sync/ASync.h"
#include "sync/PlayListSyncRecordList.h"

#include <cstdint>

class ADirSong;

// One action of the playlist sync: the playlist's name on each side, each side's own spelling (a
// playlist on one side only has that name on both; the main library has empty names), the song sync
// made for it and the result of preparing that sync.
struct PlayListSyncAction : SyncAction {
    AString name1;
    AString name2;
    ASync* songSync = nullptr; // owned by the sync set
    int result = 0;
};

class ASyncPlayLists : public ASync {
public:
    static constexpr uint32_t kRecordVersion = 0x00100001;
    static constexpr int kPlayListSyncKind = 3;

    ASyncPlayLists(uint32_t type1, uint32_t type2, AProgress* progress = nullptr);

    // The playlist-list type that shows the playlists of a source of that type: 0 for a source whose
    // playlists no list shows.
    static uint32_t PlayListTypeFor(uint32_t sourceType);
    // Makes each side's lists of its type when the side has another; a type of no playlist list leaves
    // the side as it is.
    void CreateLists(uint32_t type1, uint32_t type2);
    uint32_t GetType1() const { return GetDirectory1().GetType(); }
    uint32_t GetType2() const { return GetDirectory2().GetType(); }
    // Keeps the sources given (null: the one kept), shows each side's playlists through a list of the
    // kind its source needs, and merges the records: 0, -11167 for a source whose playlists no list
    // shows, or the names' failure.
    int AttachSources(ADirSong* source1, ADirSong* source2);

    PlayListSyncRecordList& GetRecords() { return m_records; }
    int GetRecordCount() const { return m_records.GetCount(); }
    PlayListSyncRecord& GetRecord(int index) { return m_records.GetRecord(index); }
    // Null outside the action list.
    PlayListSyncAction* GetPlayListAction(int index) const;
    // The side on which action `index` makes its playlist; 0 when it makes none.
    int CreatedSide(int index) const;

    int CompareEntryNames(const AString& a, const AString& b) const override;
    bool CompareContents(const AString&, const AString&) override { return false; }
    bool CompareFileInfo(const AString&, const AString&) override { return false; }
    bool IsDirectory(const AString&) override { return false; }
    int CreateDirectory(const AString& path) override;
    uint64_t GetFileDate(const AString& path) override;
    int CopyEntry(const AString& source, const AString& target, uint32_t targetExists, uint32_t replace,
                  const CancelCallback& cancel, AString& written) override;
    int DeleteEntry(const AString& path) override;
    int GetSyncKind() const override { return kPlayListSyncKind; }
    // Fills the lists from the chosen records (bits 0 and 1 of `flags`) and decides by direction.
    int Sync(const CancelCallback& cancel, uint32_t flags, bool checkFields) override;
    int Save(AFile& stream, uint32_t flag) override;
    int Load(AFile& stream, uint32_t flag) override;
    AString GetEntryText(const AString& path, int kind, int width, uint32_t noPrefix) override;
    // Remembers the chosen playlists of both sides for the next two-way run.
    int SaveFileLists(const CancelCallback& cancel) override;
    std::unique_ptr<SyncAction> AddCreateDirAction(const AString&, const AString&, uint32_t) override {
        return nullptr;
    }
    std::unique_ptr<SyncAction> AddCopyAction(const AString& source, const AString& target,
                                              uint32_t targetExists) override;
    std::unique_ptr<SyncAction> AddReplaceAction(const AString& source, const AString& target,
                                                 uint32_t targetExists, uint32_t fieldsOnly) override;
    std::unique_ptr<SyncAction> AddDeleteDirAction(const AString&) override { return nullptr; }
    std::unique_ptr<SyncAction> AddDeleteAction(const AString& path) override;
    std::unique_ptr<SyncAction> AddUndefinedAction(const AString& pathA, const AString& pathB) override;
    std::unique_ptr<SyncAction> AddNoAction(const AString& pathA, const AString& pathB) override;

    // Creates or deletes the playlist of action `index`: 0, the failure, or -15094 for an action of
    // another code. A confirmed deletion switches off every action of the playlist's song sync.
    virtual int PerformPlayListAction(int index, const CancelCallback& cancel);

protected:
    bool IsPairable(const AString& entry) const override;

private:
    void BindSide(Side side, ADirSong* source);
    std::unique_ptr<ADir> RemadeList(ADir& old, uint32_t type);
    ADirSong* PlayListList(Side side) const;
    // Directory 1's or 2's playlist list emptied and given the library entry and the chosen playlists
    // of that side.
    void FillList(ADir& list, bool side1);
    // The name in an entry path: no root, no leading separator, nothing from the last "?" on.
    AString PlayListNameOf(const AString& path) const;
    // The name of the action's path on that side, else of its other path.
    AString NameOnSide(const SyncAction& action, Side side) const;
    std::unique_ptr<SyncAction> WithNames(std::unique_ptr<SyncAction> action);
    int CreatePlayList(int index, const PlayListSyncAction& action);
    int DeletePlayList(const PlayListSyncAction& action);

    PlayListSyncRecordList m_records;
    ADirSong* m_source1 = nullptr;
    ADirSong* m_source2 = nullptr;
};
