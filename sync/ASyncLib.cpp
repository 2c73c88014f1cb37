#include "sync/ASyncLib.h"

#include "foundation/AArray.h"
#include "foundation/AFile.h"
#include "foundation/AProgress.h"
#include "foundation/CopyWithProgress.h"
#include "foundation/ErrorCodes.h"
#include "foundation/ErrorTexts.h"
#include "foundation/FileOps.h"
#include "foundation/RecordIO.h"
#include "library/entries/EntryText.h"
#include "library/ipod/IPodPrefs.h"
#include "library/itunes/LibraryPersistentId.h"
#include "library/songlists/ADirPodDB.h"
#include "library/songlists/ADirSongDir.h"
#include "library/songlists/ADirTunes.h"
#include "library/tags/SongFields.h"
#include "platform/files/PathSeparator.h"
#include "sync/SongKey.h"
#include "sync/SongListFactory.h"
#include "sync/SyncActionPresenter.h"
#include "sync/SyncActionTexts.h"
#include "sync/SyncErrorCodes.h"

#include <initializer_list>
#include <iterator>

namespace {

constexpr double kListScanShare = 0.25;

constexpr const char* kMarriedQuestion =
    "Selected iPod is married to another computer. "
    "In order to add files to it, the iPod must be divorced from that computer. "
    "Would you like to divorce this iPod at this time? "
    "Doing so will keep all your files, but when plugged back to the wife computer, "
    "iTunes will not recognize the iPod and will not load it. "
    "Proceed?";
constexpr const char* kMarriedLogLine =
    "Selected iPod is married to another computer; it was not written to.";
constexpr const char* kPrefsUnreadable = "The iPod's preferences could not be read: ";
constexpr const char* kLibraryIdUnreadable = "The id of the music library could not be read";
constexpr const char* kDivorceFailed = "The iPod could not be divorced from the other computer: ";
constexpr const char* kVolumeNotFound =
    "Selected iPod's volume cannot be found!\r\n"
    "The iPod must be set to \"Enable Disk Use\" before performing a sync.";
constexpr const char* kAutoUpdate = "Selected iPod is set to Automatic Update.\r\n"
                                    "The iPod must be set to \"Manual Update\" before performing a Sync.";
constexpr const char* kReadOnlyTunes = "The selected Playlist in iTunes is a Read Only Playlist.\r\n"
                                       "Songs cannot be added to a Read Only Playlist.\r\n"
                                       "Select a different Playlist or a different Sync type.";
constexpr const char* kReadOnlyPod = "The selected Playlist in iPod is a Read Only Playlist.\r\n"
                                     "Songs cannot be added to a Read Only Playlist.\r\n"
                                     "Select a different Playlist or a different Sync type.";

// The unknown value of each level of an entry, as the action texts show it.
constexpr const char* kUnknownGenre = "Unknown Genre";
constexpr const char* kUnknownArtist = "Unknown Artist";
constexpr const char* kUnknownAlbum = "Unknown Album";
constexpr const char* kUnknownTitle = "Unknown Title";
constexpr const char* kUnknownType = "Unknown Type";
constexpr const char16_t* kEmptyLevel = u"*";
constexpr const char* kPartSeparator = "; ";
constexpr int kPartSeparatorLength = 2;

struct SongOptionAccess {
    uint32_t (ADirSong::*get)() const;
    void (ADirSong::*set)(uint32_t);
};

// By ASyncLib::SongOption.
constexpr SongOptionAccess kSongOptions[] = {
    {&ADirSong::GetLargestOverNewest, &ADirSong::SetLargestOverNewest},
    {&ADirSong::GetTypeLevel, &ADirSong::SetTypeLevel},
    {&ADirSong::GetGenreLevel, &ADirSong::SetGenreLevel},
    {&ADirSong::GetAlbumLevel, &ADirSong::SetAlbumLevel},
    {&ADirSong::GetTrackLevel, &ADirSong::SetTrackLevel},
    {&ADirSong::GetProtectedFiles, &ADirSong::SetProtectedFiles},
    {&ADirSong::GetOnlyMyAppleIDs, &ADirSong::SetOnlyMyAppleIDs},
};

struct TagFilterAccess {
    const SongFilter& (ADirSong::*get)() const;
    void (ADirSong::*set)(const SongFilter&);
};

// By ASyncLib::TagField.
constexpr TagFilterAccess kTagFilters[] = {
    {&ADirSong::GetGenreFilter, &ADirSong::SetGenreFilter},
    {&ADirSong::GetArtistFilter, &ADirSong::SetArtistFilter},
    {&ADirSong::GetAlbumFilter, &ADirSong::SetAlbumFilter},
    {&ADirSong::GetTitleFilter, &ADirSong::SetTitleFilter},
};

const AString& EmptyText() {
    static const AString empty;
    return empty;
}

bool IsLibraryType(uint32_t type) {
    return type == ADir::kTypeTunes || type == ADir::kTypeTunesRemote;
}

bool IsPodType(uint32_t type) {
    return type == ADir::kTypePod || type == ADir::kTypePodDB;
}

// The kinds of list that are limited to a playlist by name.
bool NamesPlayList(uint32_t type) {
    return IsLibraryType(type) || type == ADir::kTypePod;
}

bool BeginsWith(const AString& text, const AString& prefix) {
    return !prefix.IsEmpty() && text.GetCString().starts_with(prefix.GetCString());
}

ITunesPlayDataFields PlayDataFields(uint32_t fields) {
    ITunesPlayDataFields chosen;
    chosen.comment = fields & SongKey::kComment;
    chosen.playedCount = fields & SongKey::kPlayCount;
    chosen.rating = fields & SongKey::kRating;
    chosen.equalizer = fields & SongKey::kEqualizer;
    chosen.playedDate = fields & SongKey::kLastPlayed;
    return chosen;
}

AString ShownLevel(const AString& level, const char* unknown) {
    return level == AString(kEmptyLevel) ? AString(unknown) : level;
}

} // namespace

// ---- Construction and lists ----

ASyncLib::ASyncLib(AProgress* progress) : ASyncLib(ADir::kTypeTunes, ADir::kTypePod, progress) {}

ASyncLib::ASyncLib(uint32_t type1, uint32_t type2, AProgress* progress) : ASync(progress) {
    InitSongTypes(type1, type2);
}

int ASyncLib::InitSongTypes(uint32_t type1, uint32_t type2) {
    int result = 0;
    for (const auto& [side, type] : {std::pair{kSide1, type1}, std::pair{kSide2, type2}}) {
        const int made = MakeSideLists(side, type);
        if (result == 0)
            result = made;
    }
    if (m_type1 != ADir::kTypeDir && m_type2 != ADir::kTypeDir)
        SetTypeList(AString(ADirSong::kSongTypes));
    return result;
}

int ASyncLib::MakeSideLists(Side side, uint32_t type) {
    ADir& current = side == kSide1 ? GetDirectory1() : GetDirectory2();
    if (!SongListFactory::IsSongListType(type) || current.GetType() == type) {
        (side == kSide1 ? m_type1 : m_type2) = current.GetType();
        return 0;
    }
    std::shared_ptr<ADir> list = SongListFactory::Make(type, &GetProgress());
    std::shared_ptr<ADir> snapshot = SongListFactory::Make(type, &GetProgress());
    if (!list || !snapshot)
        return kErrorIO;
    for (ADir* made : {list.get(), snapshot.get()}) {
        made->SetRootPath(SideRoot(made->GetRootPath()));
        if (!GetIncludeTypes().IsEmpty())
            made->SetTypeList(GetIncludeTypes());
        if (!GetExcludeTypes().IsEmpty())
            made->SetExcludeTypeList(GetExcludeTypes());
    }
    SetSideLists(side, std::move(list), std::move(snapshot));
    (side == kSide1 ? m_type1 : m_type2) = type;
    return 0;
}

void ASyncLib::NoteListTypes() {
    m_type1 = GetDirectory1().GetType();
    m_type2 = GetDirectory2().GetType();
}

// A library list keeps its root as given; an entry is joined to the root with a separator, and the list
// finds its entry again only when the root it strips ends with that separator.
AString ASyncLib::SideRoot(const AString& root) {
    return root.WithTrailingSeparator();
}

void ASyncLib::CreateNewLists(std::shared_ptr<ADir> list1, std::shared_ptr<ADir> list2) {
    if (!m_spare) {
        m_spare = std::make_unique<SpareLists>(SpareLists{ShareDirectory(kSide1), ShareSnapshot(kSide1),
                                                          ShareDirectory(kSide2), ShareSnapshot(kSide2),
                                                          m_type1, m_type2});
    }
    for (auto& [side, list] : {std::pair{kSide1, list1}, std::pair{kSide2, list2}}) {
        std::shared_ptr<ADir> snapshot = SongListFactory::Make(list->GetType(), &GetProgress());
        if (!snapshot)
            snapshot = std::make_shared<ADir>(&GetProgress());
        SetSideLists(side, list, std::move(snapshot));
    }
    NoteListTypes();
}

void ASyncLib::UseNewLists() {
    if (!m_spare)
        return;
    SetSideLists(kSide1, m_spare->list1, m_spare->snapshot1);
    SetSideLists(kSide2, m_spare->list2, m_spare->snapshot2);
    m_type1 = m_spare->type1;
    m_type2 = m_spare->type2;
    m_spare.reset();
}

void ASyncLib::CopySyncOptions(const ASyncLib& other, bool withLists) {
    SetDirection(other.GetDirection());
    SetDeleteMode(other.GetDeleteMode());
    if (!withLists)
        return;
    GetDirectory1().CopySettings(other.GetDirectory1());
    GetSnapshot1().CopySettings(other.GetSnapshot1());
    GetDirectory2().CopySettings(other.GetDirectory2());
    GetSnapshot2().CopySettings(other.GetSnapshot2());
}

ADirSong* ASyncLib::SongList(Side side) const {
    return dynamic_cast<ADirSong*>(side == kSide1 ? &GetDirectory1() : &GetDirectory2());
}

template <class Apply> void ASyncLib::ForEachSongList(Apply apply) {
    for (ADir* list : {&GetDirectory1(), &GetSnapshot1(), &GetDirectory2(), &GetSnapshot2()}) {
        if (auto* song = dynamic_cast<ADirSong*>(list))
            apply(*song);
    }
}

void ASyncLib::ClearSnapshotLists() {
    GetSnapshot1().Clear();
    GetSnapshot2().Clear();
}

// ---- Options ----

template <class Read, class Write, class Value>
void ASyncLib::SetOnSongLists(const Read& read, const Write& write, const Value& value, bool keepsSnapshots) {
    const ADirSong* first = SongList(kSide1);
    const bool changed = !first || !(read(*first) == value);
    ForEachSongList([&](ADirSong& list) { write(list, value); });
    if (changed && !keepsSnapshots)
        ClearSnapshotLists();
}

uint32_t ASyncLib::GetFilterMode(TagField field) const {
    const ADirSong* first = SongList(kSide1);
    return first ? (first->*kTagFilters[field].get)().flags : 0;
}

const AString& ASyncLib::GetFilterInclude(TagField field) const {
    const ADirSong* first = SongList(kSide1);
    return first ? (first->*kTagFilters[field].get)().keep : EmptyText();
}

const AString& ASyncLib::GetFilterExclude(TagField field) const {
    const ADirSong* first = SongList(kSide1);
    return first ? (first->*kTagFilters[field].get)().drop : EmptyText();
}

template <class Value>
void ASyncLib::SetFilterPart(TagField field, Value SongFilter::*part, const Value& value) {
    const TagFilterAccess access = kTagFilters[field];
    SetOnSongLists([access, part](const ADirSong& list) { return (list.*access.get)().*part; },
                   [access, part](ADirSong& list, const Value& changed) {
                       SongFilter filter = (list.*access.get)();
                       filter.*part = changed;
                       (list.*access.set)(filter);
                   },
                   value, false);
}

void ASyncLib::SetFilterMode(TagField field, uint32_t mode) {
    SetFilterPart(field, &SongFilter::flags, mode);
}

void ASyncLib::SetFilterInclude(TagField field, const AString& text) {
    SetFilterPart(field, &SongFilter::keep, text);
}

void ASyncLib::SetFilterExclude(TagField field, const AString& text) {
    SetFilterPart(field, &SongFilter::drop, text);
}

uint32_t ASyncLib::GetSongOption(SongOption option) const {
    const ADirSong* first = SongList(kSide1);
    return first ? (first->*kSongOptions[option].get)() : 0;
}

void ASyncLib::SetSongOption(SongOption option, uint32_t value) {
    const SongOptionAccess access = kSongOptions[option];
    SetOnSongLists([access](const ADirSong& list) { return (list.*access.get)(); },
                   [access](ADirSong& list, uint32_t word) { (list.*access.set)(word); }, value, false);
}

const AString& ASyncLib::GetPreferredTypes() const {
    const ADirSong* first = SongList(kSide1);
    return first ? first->GetPreferredTypes() : EmptyText();
}

void ASyncLib::SetPreferredTypes(const AString& types) {
    SetOnSongLists([](const ADirSong& list) { return list.GetPreferredTypes(); },
                   [](ADirSong& list, const AString& value) { list.SetPreferredTypes(value); }, types, false);
}

const AString& ASyncLib::GetAppleIDs() const {
    const ADirSong* first = SongList(kSide1);
    return first ? first->GetAllowedAppleIDs() : EmptyText();
}

void ASyncLib::SetAppleIDs(const AString& accounts) {
    SetOnSongLists([](const ADirSong& list) { return list.GetAllowedAppleIDs(); },
                   [](ADirSong& list, const AString& value) { list.SetAllowedAppleIDs(value); }, accounts,
                   true);
}

uint32_t ASyncLib::GetDontCopyWhenTagsEqual() const {
    if (const ADirSong* first = SongList(kSide1))
        return first->GetSizeMatchesTarget();
    const ADirSong* second = SongList(kSide2);
    return second ? second->GetSizeMatchesTarget() : 1;
}

void ASyncLib::SetDontCopyWhenTagsEqual(uint32_t value) {
    for (ADir* list : {&GetDirectory1(), &GetSnapshot1(), &GetDirectory2(), &GetSnapshot2()}) {
        if (auto* song = dynamic_cast<ADirSong*>(list))
            song->SetSizeMatchesTarget(value);
    }
}

void ASyncLib::SetPlayListName(Side side, const AString& name) {
    ADir& list = side == kSide1 ? GetDirectory1() : GetDirectory2();
    const AString old = GetPlayListName(side);
    list.SetPlayListName(name);
    (side == kSide1 ? GetSnapshot1() : GetSnapshot2()).SetPlayListName(name);
    if (NamesPlayList(list.GetType()) && !(old == name))
        ClearSnapshotLists();
}

AString ASyncLib::GetPlayListName(Side side) const {
    const ADir& list = side == kSide1 ? GetDirectory1() : GetDirectory2();
    AString name;
    if (NamesPlayList(list.GetType()))
        list.GetPlayListName(name);
    return name;
}

void ASyncLib::ClearAddState(uint32_t) {
    ForEachSongList([](ADirSong& list) { list.ClearAdded(); });
}

int ASyncLib::ResetAddState() {
    GetDirectory1().ResetAddState();
    return 0;
}

// The new playlist is empty: a list that was not read for this run reads it now, so that the songs
// added to the side go into it.
int ASyncLib::CreatePlayListOnSide(Side side, const AString& name) {
    ADir& list = side == kSide1 ? GetDirectory1() : GetDirectory2();
    if (auto* library = IsLibraryType(list.GetType()) ? dynamic_cast<ADirTunes*>(&list) : nullptr) {
        if (const int result = library->CreateSyncPlayList(name))
            return result;
        if (!library->GetClient())
            return library->Open(nullptr, 0, CancelCallback());
        library->FindPlayList();
        return 0;
    }
    if (list.GetType() == ADir::kTypePod)
        return SongList(side)->CreatePlayList(name);
    return 0;
}

// ---- The library and the iPod's marriage ----

int ASyncLib::GetLibraryPersistentID(uint64_t& id) {
    return LibraryPersistentId::Read({kErrorNoMusicHome, kErrorNoLibraryIdStart, kErrorNoLibraryIdEnd,
                                      kErrorNoLibraryIdEnd},
                                     id);
}

int ASyncLib::ReadPodLibraryID(const AString& podRoot, uint64_t& id) {
    return IPodPrefs::ReadLibraryId(podRoot, id);
}

int ASyncLib::DivorcePod(const AString& podRoot) {
    return IPodPrefs::WriteLibraryId(podRoot, 0);
}

// ---- Checks before a sync ----

bool ASyncLib::IsWrittenInto(Side side) const {
    const uint32_t direction = GetDirection();
    return direction == kDirectionBoth || direction == (side == kSide1 ? kDirection2To1 : kDirection1To2);
}

int ASyncLib::Refuse(int code, bool tell, const char* text, const char* title) {
    if (tell)
        GetProgress().Message(AString(text), true, AString(title));
    return code;
}

// What a check could not read is said in words with the reason, never left to a bare code: shown when
// the stage tells the user, else logged.
int ASyncLib::TellFailure(int code, bool tell, const AString& what) {
    AString text = what;
    GetErrorText(text, code);
    if (tell)
        GetProgress().Message(text, true);
    else
        GetProgress().Log(text + "\r\n");
    return code;
}

AString ASyncLib::PrefsUnreadableText(const AString& podRoot) {
    return AString(kPrefsUnreadable) + IPodPrefs::PathOf(podRoot);
}

int ASyncLib::CheckBeforeSync(int stage) {
    const bool tell = (stage & kCheckTell) != 0;
    if (const int result = CheckPodMarriages(tell))
        return result;
    if (const int result = CheckPodVolumes(tell))
        return result;
    if (const int result = CheckPodAutoUpdate(tell))
        return result;
    return (stage & kCheckPlayLists) ? CheckReadOnlyPlayLists(tell) : 0;
}

int ASyncLib::CheckPodMarriages(bool tell) {
    for (const Side side : {kSide1, kSide2}) {
        ADirSong* list = SongList(side);
        if (!list || list->GetType() != ADir::kTypePodDB || !IsWrittenInto(side))
            continue;
        if (const int result = CheckPodMarriage(*list, tell))
            return result;
    }
    return 0;
}

// An iPod that belongs to no library (id 0) is written to without a question, and needs no library
// here to compare with. Only a stage that may ask the user divorces the iPod.
int ASyncLib::CheckPodMarriage(ADirSong& pod, bool tell) {
    AString podRoot;
    pod.GetMusicFolder(podRoot);
    uint64_t podLibrary = 0;
    if (const int result = ReadPodLibraryID(podRoot, podLibrary))
        return TellFailure(result, tell, PrefsUnreadableText(podRoot));
    if (podLibrary == 0)
        return 0;
    uint64_t library = 0;
    if (const int result = GetLibraryPersistentID(library))
        return TellFailure(result, tell, AString(kLibraryIdUnreadable));
    if (library == podLibrary)
        return 0;
    if (!tell) {
        GetProgress().Log(AString(kMarriedLogLine) + "\r\n");
        return kErrorPodMarried;
    }
    if (AProgress::AskYesNo(AString(kMarriedQuestion)) != AProgress::kAnswerYes)
        return kUserCancel;
    if (const int result = DivorcePod(podRoot))
        return TellFailure(result, tell, AString(kDivorceFailed) + IPodPrefs::PathOf(podRoot));
    return 0;
}

int ASyncLib::CheckPodVolumes(bool tell) {
    for (const Side side : {kSide1, kSide2}) {
        ADirSong* list = SongList(side);
        if (!list || list->GetType() != ADir::kTypePod)
            continue;
        AString volume;
        list->GetMusicFolder(volume);
        if (volume.IsEmpty())
            return Refuse(kErrorPodVolumeNotFound, tell, kVolumeNotFound, "iPod's volume not found!");
    }
    return 0;
}

// Both kinds of iPod keep the setting: an iPod that updates itself would undo what a sync wrote.
int ASyncLib::CheckPodAutoUpdate(bool tell) {
    for (const Side side : {kSide1, kSide2}) {
        ADirSong* list = SongList(side);
        if (!list || !IsPodType(list->GetType()) || !IsWrittenInto(side))
            continue;
        AString podRoot;
        list->GetMusicFolder(podRoot);
        uint32_t automatic = 0;
        if (const int result = ADirSong::IsAutoUpdatePod(podRoot, automatic)) {
            TellFailure(result, tell, PrefsUnreadableText(podRoot));
            return side == kSide1 ? result : kErrorPodPrefsUnreadable;
        }
        if (automatic)
            return Refuse(kErrorPodAutoUpdate, tell, kAutoUpdate, "iPod set to Automatic Update");
    }
    return 0;
}

int ASyncLib::CheckReadOnlyPlayLists(bool tell) {
    for (const bool pod : {false, true}) {
        for (const Side side : {kSide1, kSide2}) {
            ADirSong* list = SongList(side);
            if (!list || !IsWrittenInto(side))
                continue;
            const bool matches = pod ? list->GetType() == ADir::kTypePod : IsLibraryType(list->GetType());
            if (matches && list->IsPlayListReadOnly() == 1)
                return Refuse(kErrorInvalidPlayList, tell, pod ? kReadOnlyPod : kReadOnlyTunes, "Read Only Playlist");
        }
    }
    return 0;
}

// ---- File operations through the owning list ----

bool ASyncLib::PassesFilter(const AString& path) {
    if (GetIncludeTypes().IsEmpty() && GetExcludeTypes().IsEmpty())
        return true;
    return ASync::PassesFilter(path);
}

// The lists read size and time of their songs' files when they were built; tags decide for the rest.
bool ASyncLib::CompareFileInfo(const AString& a, const AString& b) {
    auto* owner = dynamic_cast<ADirSong*>(OwningList(b));
    if (owner && owner->GetSizeMatchesTarget())
        return true;
    if (ASync::CompareFileInfo(a, b))
        return true;
    AString fileA;
    AString fileB;
    if (!owner || ResolveFile(a, fileA) != 0 || ResolveFile(b, fileB) != 0)
        return false;
    return owner->IsSameSong(fileA, fileB, 1) != 0;
}

int ASyncLib::CreateDirectory(const AString& path) {
    const ADir* list = OwningList(path);
    return list && list->GetType() == ADir::kTypeDir ? CreateDirectoryPath(path) : kErrorIO;
}

// The iPod's track that a refused copy found holding the song is that song's only copy on the iPod,
// however the walk paired it: deleting it would leave the iPod without the song.
int ASyncLib::DeleteEntry(const AString& path) {
    ADir* list = OwningList(path);
    if (!list)
        return kErrorIO;
    const auto* pod = dynamic_cast<const ADirPodDB*>(list);
    if (pod && pod->HoldsRefusedSong(path)) {
        GetProgress().Log(AString("Not deleted, the iPod's only copy of a song whose copy it refused: ") +
                          GetEntryText(path, kWholeEntry, kLogTextWidth, 0) + "\r\n");
        return 0;
    }
    return list->DeleteFile(path, 1, 0);
}

AString ASyncLib::EntryOf(const ADir& list, const AString& path) const {
    AString entry = path.Mid(list.GetRootPath().GetLength());
    if (!entry.IsEmpty() && entry.GetAt(0) == kPathSeparator)
        entry = entry.Mid(1);
    return entry;
}

void ASyncLib::GetEntryName(const AString& path, AString& out) {
    const ADir* owner = OwningList(path);
    const ADirSong* first = SongList(kSide1);
    out = SplitEntry(owner ? EntryOf(*owner, path) : path, first ? first->GetEntryLayout() : EntryLayout())
              .title;
}

AString ASyncLib::SongNameOf(const ADir& sourceList, const AString& source) const {
    const auto* song = dynamic_cast<const ADirSong*>(&sourceList);
    return SplitEntry(EntryOf(sourceList, source), song ? song->GetEntryLayout() : EntryLayout()).title;
}

// ---- Copying ----

// A new song goes where its target keeps songs; a replaced one over the file of the target's song.
int ASyncLib::CopyEntry(const AString& source, const AString& target, uint32_t, uint32_t replace,
                        const CancelCallback& cancel, AString& written) {
    written = AString();
    ADir* sourceList = OwningList(source);
    if (!sourceList)
        return kErrorIO;
    ADir& targetList = sourceList == &GetDirectory1() ? GetDirectory2() : GetDirectory1();
    AString sourceFile;
    if (const int result = ResolveFile(source, sourceFile))
        return result;
    if (!replace)
        return CopyNewSong(*sourceList, targetList, source, sourceFile, cancel, written);
    AString targetFile;
    if (targetList.GetFullPath(target, targetFile, 1) != 0 || targetFile.IsEmpty())
        return kErrorOriginalPathNotFound;
    written = targetFile;
    auto* targetSongs = dynamic_cast<ADirSong*>(&targetList);
    if (FilesMatch(sourceFile, targetFile) ||
        (targetSongs && targetSongs->IsSameSong(sourceFile, targetFile, 1)))
        return 0;
    return CopyWithProgress(sourceFile, targetFile, cancel, &GetProgress(), GetForceReadOnly() != 0);
}

int ASyncLib::CopyNewSong(ADir& sourceList, ADir& targetList, const AString& source,
                          const AString& sourceFile, const CancelCallback& cancel, AString& written) {
    switch (targetList.GetType()) {
    case ADir::kTypeDir:
        return CopyIntoPlainFolder(sourceList, targetList, sourceFile, cancel, written);
    case ADir::kTypeSongDir: {
        // The folder list files the song as MakeTargetName names it: that is the file to read back.
        auto& folder = dynamic_cast<ADirSongDir&>(targetList);
        const AString name = SongNameOf(sourceList, source);
        AString targetFolder = folder.GetRootPath();
        AString fileName = name;
        if (const int result = folder.MakeTargetName(sourceFile, targetFolder, fileName, 0))
            return result;
        written = targetFolder;
        written.AppendPath(fileName);
        return folder.CopySongFile(sourceFile, name, GetForceReadOnly());
    }
    case ADir::kTypePod:
        return dynamic_cast<ADirSong&>(targetList).AddSong(sourceFile, cancel);
    case ADir::kTypePodDB:
        return CopyOntoPod(sourceList, dynamic_cast<ADirPodDB&>(targetList), source, sourceFile, cancel);
    case ADir::kTypeTunes:
    case ADir::kTypeTunesRemote:
        return CopyIntoLibrary(sourceList, targetList, source, sourceFile, cancel, written);
    default:
        return kErrorIO;
    }
}

// A song of a library reaches the iPod under the library's names, which its tags need not give: so the
// two entries pair next time. A song from anywhere else is named by its tags.
int ASyncLib::CopyOntoPod(ADir& sourceList, ADirPodDB& pod, const AString& source, const AString& sourceFile,
                          const CancelCallback& cancel) {
    const AString name = SongNameOf(sourceList, source);
    const auto* library = dynamic_cast<const ADirTunes*>(&sourceList);
    SongFields record;
    const bool recorded = library && library->GetRecordFields(source, record);
    return pod.CopySongToPod(sourceFile, &name, cancel, recorded ? &record : nullptr);
}

// The song key travels with a copy into another computer's library, whose new song takes the play data
// of the source; the local library reads its own from the file.
int ASyncLib::CopyIntoLibrary(ADir& sourceList, ADir& targetList, const AString& source,
                              const AString& sourceFile, const CancelCallback& cancel, AString& written) {
    auto* library = dynamic_cast<ADirTunes*>(&targetList);
    if (!library)
        return kErrorIO;
    const bool remote = targetList.GetType() == ADir::kTypeTunesRemote;
    const AString key = remote ? GetSongKey(sourceList, source) : AString();
    AString file = sourceFile;
    uint32_t placed = 0;
    // Another computer can add only a file it holds: the song is always sent there first.
    if (m_copyIntoLibrary || remote) {
        AString musicFolder = library->GetCachedMusicFolder();
        if (musicFolder.IsEmpty())
            library->GetMusicFolder(musicFolder);
        if (const int result = library->PlaceFileInLibrary(musicFolder, sourceFile, file, placed, cancel))
            return result;
    }
    int result = library->AddPlacedSong(file, key.IsEmpty() ? nullptr : &key, cancel);
    if (result == kErrorLastSyncPlayList && (m_copyIntoLibrary || remote))
        result = 0;
    if (result != 0 && placed)
        library->DiscardPlacedFile(file);
    if (result == 0)
        written = file;
    return result;
}

// A song becomes a file of the plain folder under its place below its own list's root, or under its
// name when it lies elsewhere.
int ASyncLib::CopyIntoPlainFolder(ADir& sourceList, ADir& targetList, const AString& sourceFile,
                                  const CancelCallback& cancel, AString& written) {
    const AString& sourceRoot = sourceList.GetRootPath();
    const AString place = BeginsWith(sourceFile, sourceRoot)
                              ? sourceFile.Mid(sourceRoot.GetLength())
                              : sourceFile.Mid(sourceFile.ReverseFind(kPathSeparator) + 1);
    AString target = targetList.GetRootPath();
    target.AppendPath(place);
    const AString folder = target.Left(target.ReverseFind(kPathSeparator));
    if (!DirectoryExists(folder)) {
        if (const int result = CreateDirectoryPath(folder))
            return result;
    }
    written = target;
    return CopyWithProgress(sourceFile, target, cancel, &GetProgress(), GetForceReadOnly() != 0);
}

// ---- Lists, record and texts ----

int ASyncLib::BuildList1(const AString* root, const CancelCallback& cancel, bool rebuild, bool lock) {
    const AString sideRoot = root ? SideRoot(*root) : AString();
    return ASync::BuildList1(root ? &sideRoot : nullptr, cancel, rebuild, lock);
}

int ASyncLib::BuildList2(const AString* root, const CancelCallback& cancel, bool rebuild, bool lock) {
    const AString sideRoot = root ? SideRoot(*root) : AString();
    return ASync::BuildList2(root ? &sideRoot : nullptr, cancel, rebuild, lock);
}

int ASyncLib::ScanDuplicates(const CancelCallback& cancel) {
    for (ADir* list : {&GetDirectory1(), &GetSnapshot1(), &GetDirectory2(), &GetSnapshot2()}) {
        GetProgress().PushRange(kListScanShare);
        const int result = list->FindDuplicates(0, 1, 1, cancel, 0);
        GetProgress().PopRange();
        if (result != 0)
            return result;
    }
    return 0;
}

int ASyncLib::Save(AFile& stream, uint32_t flag) {
    if (const int result = recordio::WriteU32(stream, kRecordVersion))
        return result;
    if (const int result = ASync::Save(stream, flag))
        return result;
    if (const int result = recordio::WriteU32(stream, m_copyIntoLibrary))
        return result;
    return m_libraryText.Serialize(stream);
}

int ASyncLib::Load(AFile& stream, uint32_t flag) {
    if (const int result = recordio::ReadVersion(stream, kRecordVersion))
        return result;
    if (const int result = ASync::Load(stream, flag))
        return result;
    if (const int result = recordio::ReadU32(stream, m_copyIntoLibrary))
        return result;
    if (const int result = m_libraryText.Load(stream))
        return result;
    NoteListTypes();
    return 0;
}

// A song's text: its levels ("; " between them) after the side's description; within a width, the
// title and as many of artist, album and genre as fit, then the type when it fits too.
AString ASyncLib::GetEntryText(const AString& path, int kind, int width, uint32_t noPrefix) {
    if (path.IsEmpty() || path.Find(kEntryIdSeparator) < 0)
        return ASync::GetEntryText(path, kind, width, noPrefix);
    ADir* owner = OwningList(path);
    AString description;
    if (owner)
        owner->GetDescription(description, noPrefix);
    if (kind == kFolderPart)
        return owner ? description : path;
    const ADirSong* first = SongList(kSide1);
    const EntryLevels levels =
        SplitEntry(owner ? EntryOf(*owner, path) : path, first ? first->GetEntryLayout() : EntryLayout());
    struct Part {
        const AString* level;
        const char* unknown;
        bool shown;
    };
    Part genre{&levels.genre, kUnknownGenre, width < 0};
    Part artist{&levels.artist, kUnknownArtist, width < 0};
    Part album{&levels.album, kUnknownAlbum, width < 0};
    Part title{&levels.title, kUnknownTitle, true};
    Part type{&levels.type, kUnknownType, width < 0};
    if (width >= 0) {
        int room = width - levels.title.GetLength() - kPartSeparatorLength;
        for (Part* part : {&artist, &album, &genre, &type}) {
            if (part->level->IsEmpty())
                continue;
            const int need = part->level->GetLength() + kPartSeparatorLength;
            if (need > room)
                break;
            part->shown = true;
            room -= need;
        }
    }
    AString text;
    for (const Part& part : {genre, artist, album, title, type}) {
        if (part.shown && !part.level->IsEmpty())
            text += ShownLevel(*part.level, part.unknown) + kPartSeparator;
    }
    const int last = text.ReverseFind(u';');
    if (last >= 0)
        text = text.Left(last);
    if (width < 0 && !noPrefix && !description.IsEmpty())
        text = description + ": " + text;
    return text;
}

int ASyncLib::ShowActionList() {
    if (GetDirectory1().GetType() == ADir::kTypeDir || GetDirectory2().GetType() == ADir::kTypeDir)
        return ASync::ShowActionList();
    const bool remote = GetDirectory2().GetType() == ADir::kTypeTunesRemote;
    const SyncActionTexts texts =
        SyncActionTexts::ForSides(AString("iTunes"), AString(remote ? "Remote iTunes" : "iPod"), false);
    return Presenter().ConfirmActions(*this, texts) ? 0 : kUserCancel;
}

AString ASyncLib::GetSongKey(ADir& list, const AString& path) {
    auto* library = dynamic_cast<ADirTunes*>(&list);
    return library ? library->GetSongKey(path) : AString();
}

void ASyncLib::UpdateSongInfo(ADir& list, const AString& path, const AString& key, uint32_t fields) {
    if (auto* library = dynamic_cast<ADirTunes*>(&list))
        library->UpdateSongInfo(path, key, PlayDataFields(fields));
}

AString ASyncLib::GetDeviceId(ADir& list) {
    auto* pod = dynamic_cast<ADirPodDB*>(&list);
    return pod ? pod->GetPodID() : AString();
}

// ---- The add-files run ----

int ASyncLib::Process(const CancelCallback& cancel, uint32_t steps) {
    return WithSyncLock([&] { return RunProcess(cancel, steps); });
}

int ASyncLib::RunProcess(const CancelCallback& cancel, uint32_t steps) {
    const AString initializing("Initializing Process...");
    GetProgress().Start(&initializing, true, true);
    int result = CheckBeforeSync(kCheckTell | kCheckPlayLists);
    if (result == 0)
        result = BuildAndDecide(cancel, steps & kProcessBuildMask, false);
    if (result != 0) {
        GetProgress().Finish();
        DisconnectLists();
        return result;
    }
    const AString ready("Process ready.");
    GetProgress().Finish(&ready, true, true);
    if (GetActionCount() == 0) {
        GetProgress().Message(AString("Nothing to Add!"), true);
        DisconnectLists();
        return 0;
    }
    if (const int refused = ConfirmAddList()) {
        const AString cancelled("User cancelled.");
        GetProgress().SetPos(-1.0, &cancelled, &cancelled, &cancelled, GetVerboseLog() != 0);
        DisconnectLists();
        return refused;
    }
    return PerformAndFinalise(
        cancel, {"Performing Process...", "Performing Process Finalization...", "Process completed."});
}

// The add list shows each song by its file; the list it goes to names the dialog.
int ASyncLib::ConfirmAddList() {
    const AString preparing("Preparing action list...");
    GetProgress().SetPos(-1.0, &preparing, &preparing);
    AArray rows;
    for (int i = 0; i < GetActionCount(); ++i) {
        SyncAction& action = *GetAction(i);
        action.text1 = ResolveFile(action.pathA);
        rows.AddPointer(&action);
    }
    ADirSong* target = SongList(GetDirection() == kDirection2To1 ? kSide1 : kSide2);
    if (!target)
        return kErrorNotSupported;
    return target->ShowAddSongsActionList(*target, rows, 0);
}
