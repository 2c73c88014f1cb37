#include "sync/ASyncPlayLists.h"

#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/RecordIO.h"
#include "library/entries/EntryText.h"
#include "library/songlists/ADirPlayListsPod.h"
#include "library/songlists/ADirPlayListsTunes.h"
#include "platform/files/PathSeparator.h"
#include "sync/ASyncLib.h"
#include "sync/SongListFactory.h"
#include "sync/SyncErrorCodes.h"

namespace {

// Only a playlist's entry and the library's ("?0") stand in these lists; the library's has no name.
bool IsLibraryEntry(const AString& entry) {
    return EntryWithoutId(entry).IsEmpty();
}

} // namespace

ASyncPlayLists::ASyncPlayLists(uint32_t type1, uint32_t type2, AProgress* progress) : ASync(progress) {
    CreateLists(type1, type2);
}

uint32_t ASyncPlayLists::PlayListTypeFor(uint32_t sourceType) {
    switch (sourceType) {
    case ADir::kTypeTunes:
    case ADir::kTypeTunesRemote:
        return ADir::kTypePlayListsTunes;
    case ADir::kTypePod:
        return ADir::kTypePlayListsPod;
    default:
        return 0;
    }
}

// Both kinds of playlist list keep the same record: a list made anew takes over the old one's root,
// settings and entries, so that a set read back with its playlist sync re-typed writes the same bytes.
void ASyncPlayLists::CreateLists(uint32_t type1, uint32_t type2) {
    for (const auto& [side, type] : {std::pair{kSide1, type1}, std::pair{kSide2, type2}}) {
        ADir& current = side == kSide1 ? GetDirectory1() : GetDirectory2();
        if (!SongListFactory::IsPlayListType(type) || current.GetType() == type)
            continue;
        ADir& snapshot = side == kSide1 ? GetSnapshot1() : GetSnapshot2();
        SetSideLists(side, RemadeList(current, type), RemadeList(snapshot, type));
        BindSide(side, side == kSide1 ? m_source1 : m_source2);
    }
}

std::unique_ptr<ADir> ASyncPlayLists::RemadeList(ADir& old, uint32_t type) {
    std::unique_ptr<ADir> list = SongListFactory::Make(type, &GetProgress());
    AMemFile record;
    if (old.Save(record, 0) != 0)
        return list;
    AMemFile reader(record.GetBuffer(), record.GetSize());
    if (list->Load(reader, 0) != 0)
        list = SongListFactory::Make(type, &GetProgress());
    return list;
}

void ASyncPlayLists::BindSide(Side side, ADirSong* source) {
    if (!source)
        return;
    for (ADir* list : {&(side == kSide1 ? GetDirectory1() : GetDirectory2()),
                       &(side == kSide1 ? GetSnapshot1() : GetSnapshot2())}) {
        if (auto* tunes = dynamic_cast<ADirPlayListsTunes*>(list))
            tunes->SetTunes(source);
        else if (auto* pod = dynamic_cast<ADirPlayListsPod*>(list))
            pod->SetPod(source);
    }
}

// A side is shown through the list of its source's kind: another computer's library is never taken for
// an iPod.
int ASyncPlayLists::AttachSources(ADirSong* source1, ADirSong* source2) {
    if (source1)
        m_source1 = source1;
    if (source2)
        m_source2 = source2;
    if (!m_source1 || !m_source2)
        return kErrorNotSupported;
    const uint32_t type1 = PlayListTypeFor(m_source1->GetType());
    const uint32_t type2 = PlayListTypeFor(m_source2->GetType());
    if (type1 == 0 || type2 == 0)
        return kErrorNotSupported;
    CreateLists(type1, type2);
    BindSide(kSide1, m_source1);
    BindSide(kSide2, m_source2);
    return m_records.Merge(*m_source1, *m_source2);
}

PlayListSyncAction* ASyncPlayLists::GetPlayListAction(int index) const {
    return dynamic_cast<PlayListSyncAction*>(GetAction(index));
}

int ASyncPlayLists::CreatedSide(int index) const {
    const PlayListSyncAction* action = GetPlayListAction(index);
    if (!action || action->code != kActionCopy)
        return 0;
    const ADir* owner = OwningList(action->pathB);
    if (owner == &GetDirectory1())
        return kSide1;
    return owner == &GetDirectory2() ? kSide2 : 0;
}

ADirSong* ASyncPlayLists::PlayListList(Side side) const {
    return dynamic_cast<ADirPlayLists*>(side == kSide1 ? &GetDirectory1() : &GetDirectory2());
}

// ---- Entries ----

// The main library pairs with the main library and comes first, whatever a playlist is called.
int ASyncPlayLists::CompareEntryNames(const AString& a, const AString& b) const {
    const bool libraryA = IsLibraryEntry(a);
    const bool libraryB = IsLibraryEntry(b);
    if (libraryA || libraryB)
        return libraryA == libraryB ? 0 : (libraryA ? -1 : 1);
    return ASync::CompareEntryNames(a, b);
}

bool ASyncPlayLists::IsPairable(const AString&) const {
    return true;
}

void ASyncPlayLists::FillList(ADir& list, bool side1) {
    list.Clear();
    list.AddEntry(AString(ADirPlayLists::kLibraryEntry), 0);
    int number = 1;
    for (int i = 0; i < m_records.GetCount(); ++i) {
        const PlayListSyncRecord& record = m_records.GetRecord(i);
        if (!record.selected || !(side1 ? record.inList1 : record.inList2) || record.name.IsEmpty())
            continue;
        AString entry = side1 ? record.name : record.NameOnSide2();
        entry += kEntryIdSeparator;
        entry += number++;
        list.AddEntry(entry, 0);
    }
}

AString ASyncPlayLists::PlayListNameOf(const AString& path) const {
    const ADir* owner = OwningList(path);
    AString name = owner ? path.Mid(owner->GetRootPath().GetLength()) : path;
    if (!name.IsEmpty() && (name.GetAt(0) == kPathSeparator || name.GetAt(0) == kEntryLevelSeparator))
        name = name.Mid(1);
    return EntryWithoutId(name);
}

AString ASyncPlayLists::NameOnSide(const SyncAction& action, Side side) const {
    const ADir* list = side == kSide1 ? &GetDirectory1() : &GetDirectory2();
    for (const AString* path : {&action.pathA, &action.pathB}) {
        if (!path->IsEmpty() && OwningList(*path) == list)
            return PlayListNameOf(*path);
    }
    return PlayListNameOf(action.pathA);
}

AString ASyncPlayLists::GetEntryText(const AString& path, int kind, int, uint32_t) {
    ADir* owner = OwningList(path);
    ADir& list = owner ? *owner : GetDirectory2();
    AString description;
    if (kind == kFolderPart)
        return list.GetDescription(description, 1);
    list.GetDescription(description, 0);
    const AString name = PlayListNameOf(path);
    return description + ": " + (name.IsEmpty() ? AString("Main Library") : name);
}

// ---- File operations on playlists ----

int ASyncPlayLists::CreateDirectory(const AString&) {
    return kErrorIO;
}

// Side 1 always counts as the newer: a playlist on both sides is left as it is.
uint64_t ASyncPlayLists::GetFileDate(const AString& path) {
    const ADir* owner = OwningList(path);
    if (owner == &GetDirectory1())
        return 2;
    return owner == &GetDirectory2() ? 1 : 0;
}

int ASyncPlayLists::CopyEntry(const AString& source, const AString& target, uint32_t, uint32_t,
                              const CancelCallback&, AString& written) {
    written = AString();
    const ADir* owner = OwningList(source);
    if (owner != &GetDirectory1() && owner != &GetDirectory2())
        return kErrorPlayListUnderNoRoot;
    const bool toSide2 = owner == &GetDirectory1();
    ADirSong* targetList = PlayListList(toSide2 ? kSide2 : kSide1);
    if (!targetList)
        return toSide2 ? kErrorNoPlayListList2 : kErrorNoPlayListList1;
    return targetList->CreatePlayList(target);
}

int ASyncPlayLists::DeleteEntry(const AString& path) {
    auto* owner = dynamic_cast<ADirPlayLists*>(OwningList(path));
    return owner ? owner->DeletePlayList(path) : kErrorPlayListNoOwner;
}

// ---- The run ----

int ASyncPlayLists::Sync(const CancelCallback& cancel, uint32_t flags, bool) {
    return WithSyncLock([&] {
        GetProgress().Start();
        int result = 0;
        if (flags & (kBuildList1 | kBuildList2)) {
            result = AttachSources(nullptr, nullptr);
            if (result == 0 && (flags & kBuildList1))
                FillList(GetDirectory1(), true);
            if (result == 0 && (flags & kBuildList2))
                FillList(GetDirectory2(), false);
        }
        if (result == 0)
            result = BuildAndDecide(cancel, 0, false);
        GetProgress().Finish();
        return result;
    });
}

int ASyncPlayLists::SaveFileLists(const CancelCallback&) {
    if (const int result = AttachSources(nullptr, nullptr))
        return result;
    FillList(GetSnapshot1(), true);
    FillList(GetSnapshot2(), false);
    return 0;
}

int ASyncPlayLists::PerformPlayListAction(int index, const CancelCallback&) {
    const PlayListSyncAction* action = GetPlayListAction(index);
    if (!action)
        return kErrorInvalidElement;
    if (!action->enabled)
        return 0;
    switch (action->code) {
    case kActionCopy:
        return CreatePlayList(index, *action);
    case kActionDelete:
        return DeletePlayList(*action);
    case kActionNone:
        return 0;
    default:
        return kErrorPlayListActionCode;
    }
}

// The playlist is made on the side the action's target lies on, under that side's name for it; the
// song sync's list of that side then holds the new playlist. Its failure is the action's.
int ASyncPlayLists::CreatePlayList(int index, const PlayListSyncAction& action) {
    auto* songSync = dynamic_cast<ASyncLib*>(action.songSync);
    const int side = CreatedSide(index);
    if (!songSync || side == 0)
        return kErrorPlayListUnderNoRoot;
    return songSync->CreatePlayListOnSide(side == kSide1 ? kSide1 : kSide2,
                                          side == kSide1 ? action.name1 : action.name2);
}

// Songs of a playlist that is gone are not copied or deleted on its behalf.
int ASyncPlayLists::DeletePlayList(const PlayListSyncAction& action) {
    bool deleted = false;
    const int result = DeleteFile(action.pathA, &deleted);
    if (deleted && action.songSync) {
        for (int i = 0; i < action.songSync->GetActionCount(); ++i)
            action.songSync->GetAction(i)->enabled = 0;
    }
    return result;
}

// ---- Actions ----

std::unique_ptr<SyncAction> ASyncPlayLists::WithNames(std::unique_ptr<SyncAction> made) {
    if (!made)
        return nullptr;
    auto action = std::make_unique<PlayListSyncAction>();
    static_cast<SyncAction&>(*action) = *made;
    action->name1 = NameOnSide(*action, kSide1);
    action->name2 = NameOnSide(*action, kSide2);
    return action;
}

std::unique_ptr<SyncAction> ASyncPlayLists::AddCopyAction(const AString& source, const AString& target,
                                                          uint32_t targetExists) {
    return WithNames(ASync::AddCopyAction(source, target, targetExists));
}

std::unique_ptr<SyncAction> ASyncPlayLists::AddReplaceAction(const AString& source, const AString& target,
                                                             uint32_t, uint32_t) {
    return AddNoAction(source, target);
}

std::unique_ptr<SyncAction> ASyncPlayLists::AddDeleteAction(const AString& path) {
    return WithNames(ASync::AddDeleteAction(path));
}

std::unique_ptr<SyncAction> ASyncPlayLists::AddUndefinedAction(const AString& pathA, const AString& pathB) {
    return AddNoAction(pathA, pathB);
}

std::unique_ptr<SyncAction> ASyncPlayLists::AddNoAction(const AString& pathA, const AString& pathB) {
    return WithNames(ASync::AddNoAction(pathA, pathB));
}

// ---- Record ----

int ASyncPlayLists::Save(AFile& stream, uint32_t flag) {
    if (const int result = recordio::WriteU32(stream, kRecordVersion))
        return result;
    if (const int result = ASync::Save(stream, flag))
        return result;
    return m_records.Save(stream);
}

int ASyncPlayLists::Load(AFile& stream, uint32_t flag) {
    if (const int result = recordio::ReadVersion(stream, kRecordVersion))
        return result;
    if (const int result = ASync::Load(stream, flag))
        return result;
    return m_records.Load(stream);
}
