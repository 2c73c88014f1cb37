#include "app/settings/SyncPropertiesExchange.h"

#include "app/settings/SyncProperties.h"
#include "app/state/AppSettings.h"
#include "app/state/HelperProgram.h"
#include "app/state/RouterStatus.h"
#include "library/songlists/ADir.h"
#include "sync/ASync.h"
#include "sync/ASyncLib.h"
#include "sync/SongKey.h"
#include "widgets/QtText.h"

#include <QStringList>
#include <optional>
#include <utility>

namespace {

// The options every sync has, each with its box on "Synchronizing".
struct SyncWord {
    uint32_t SettingsSync::*box;
    uint32_t (ASync::*get)() const;
    void (ASync::*set)(uint32_t);
};

constexpr SyncWord kSyncWords[] = {
    {&SettingsSync::verboseLog, &ASync::GetVerboseLog, &ASync::SetVerboseLog},
    {&SettingsSync::showActionList, &ASync::GetShowActionList, &ASync::SetShowActionList},
    {&SettingsSync::stopOnError, &ASync::GetStopOnError, &ASync::SetStopOnError},
    {&SettingsSync::autoRunSync, &ASync::GetAutoRunSync, &ASync::SetAutoRunSync},
    {&SettingsSync::createLastSyncPlayList, &ASync::GetListOption, &ASync::SetListOption},
    {&SettingsSync::forceReadOnly, &ASync::GetForceReadOnly, &ASync::SetForceReadOnly},
};

// The play data that follows the songs: one option byte of the sync each.
constexpr std::pair<uint32_t SettingsSync::*, SongKey::Field> kPlayDataBoxes[] = {
    {&SettingsSync::syncComments, SongKey::kComment},   {&SettingsSync::syncPlaycounts, SongKey::kPlayCount},
    {&SettingsSync::syncRatings, SongKey::kRating},     {&SettingsSync::syncEQ, SongKey::kEqualizer},
    {&SettingsSync::syncLastPlayed, SongKey::kLastPlayed},
};

// The song sync's options that its song lists hold, with their box on a page.
template <class Page> struct SongWord {
    uint32_t Page::*box;
    ASyncLib::SongOption option;
};

// How songs are paired: a change of these renames every entry.
constexpr SongWord<SettingsSync> kPairingWords[] = {
    {&SettingsSync::useGenre, ASyncLib::kUseGenre},
    {&SettingsSync::useAlbumName, ASyncLib::kUseAlbumName},
    {&SettingsSync::useFileType, ASyncLib::kUseFileType},
    {&SettingsSync::useTrackNumber, ASyncLib::kUseTrackNumber},
};

constexpr SongWord<SettingsDupsRules> kDuplicateWords[] = {
    {&SettingsDupsRules::protectedFiles, ASyncLib::kProtectedFiles},
    {&SettingsDupsRules::largestOverNewest, ASyncLib::kLargestOverNewest},
    {&SettingsDupsRules::onlyMyAppleIDs, ASyncLib::kOnlyMyAppleIDs},
};

static_assert(SyncProperties::kGenre == static_cast<int>(ASyncLib::kGenreField) &&
                  SyncProperties::kArtist == static_cast<int>(ASyncLib::kArtistField) &&
                  SyncProperties::kAlbum == static_cast<int>(ASyncLib::kAlbumField) &&
                  SyncProperties::kTitle == static_cast<int>(ASyncLib::kTitleField),
              "the sheet's tag filter pages come in the song sync's field order");

// The items of a colon list (":a:b:"); empty items are dropped.
QStringList ColonItems(const AString& list) {
    return ToQString(list).split(QLatin1Char(':'), Qt::SkipEmptyParts);
}

// Each item followed by ':' after a leading one. No items give the empty text, the value a new sync
// has; like ":" it holds no item.
AString JoinColonItems(const QStringList& items) {
    QString joined;
    for (const QString& item : items) {
        if (!item.isEmpty())
            joined += QLatin1Char(':') + item;
    }
    return joined.isEmpty() ? AString() : ToAString(joined + QLatin1Char(':'));
}

bool SameItems(const AString& list, const QStringList& items, Qt::CaseSensitivity caseSensitivity) {
    const QStringList old = ColonItems(list);
    QStringList given = items;
    given.removeAll(QString());
    if (old.size() != given.size())
        return false;
    for (qsizetype i = 0; i < old.size(); ++i) {
        if (old[i].compare(given[i], caseSensitivity) != 0)
            return false;
    }
    return true;
}

// Writes a list whose items changed; the same items in another spelling keep the sync's text (a
// setter that sees a new text would forget the last sync).
template <class Set> void WriteColonList(const AString& current, const QStringList& items, Set set) {
    if (!SameItems(current, items, Qt::CaseSensitive))
        set(JoinColonItems(items));
}

struct FilterValues {
    uint32_t mode = 0;
    AString include;
    AString exclude;
};

// A filter page's values in the sync; the tag fields only in a song sync.
std::optional<FilterValues> ReadFilter(const ASync& sync, int field) {
    if (field == SyncProperties::kType)
        return FilterValues{sync.GetTypeFilterMode(), sync.GetTypeIncludeList(), sync.GetTypeExcludeList()};
    if (field == SyncProperties::kPath)
        return FilterValues{sync.GetPathFilterMode(), sync.GetPathIncludeList(), sync.GetPathExcludeList()};
    const auto* songSync = dynamic_cast<const ASyncLib*>(&sync);
    if (!songSync)
        return std::nullopt;
    const auto tag = static_cast<ASyncLib::TagField>(field);
    return FilterValues{songSync->GetFilterMode(tag), songSync->GetFilterInclude(tag),
                        songSync->GetFilterExclude(tag)};
}

// Writes a filter page's values where ReadFilter found the old ones.
void WriteFilter(ASync& sync, int field, const SettingsFilter& page, const FilterValues& old) {
    if (field == SyncProperties::kType) {
        sync.SetTypeFilterMode(page.mode);
        WriteColonList(old.include, page.include, [&](const AString& list) { sync.SetTypeIncludeList(list); });
        WriteColonList(old.exclude, page.exclude, [&](const AString& list) { sync.SetTypeExcludeList(list); });
        return;
    }
    if (field == SyncProperties::kPath) {
        sync.SetPathFilterMode(page.mode);
        WriteColonList(old.include, page.include, [&](const AString& list) { sync.SetPathIncludeList(list); });
        WriteColonList(old.exclude, page.exclude, [&](const AString& list) { sync.SetPathExcludeList(list); });
        return;
    }
    auto& songSync = dynamic_cast<ASyncLib&>(sync);
    const auto tag = static_cast<ASyncLib::TagField>(field);
    songSync.SetFilterMode(tag, page.mode);
    WriteColonList(old.include, page.include, [&](const AString& list) { songSync.SetFilterInclude(tag, list); });
    WriteColonList(old.exclude, page.exclude, [&](const AString& list) { songSync.SetFilterExclude(tag, list); });
}

void FillGlobal(SettingsGlobal& page, const AppSettings& settings, const RouterTest::Texts& router) {
    page.hideITunes = settings.hideITunes;
    page.autoClose = settings.autoClose;
    page.startServer = settings.startServer;
    page.serverPort = settings.serverPort;
    page.manageIPods = settings.manageIPods;
    page.manageShuffles = settings.manageShuffles;
    page.pnpRouter = settings.pnpRouter;
    page.natText = router.nat;
    page.ipText = router.ip;
    page.portText = router.port;
}

void ApplyGlobal(const SettingsGlobal& page, AppSettings& settings) {
    settings.hideITunes = page.hideITunes;
    settings.autoClose = page.autoClose;
    settings.startServer = page.startServer;
    settings.serverPort = page.serverPort;
    settings.manageIPods = page.manageIPods;
    settings.manageShuffles = page.manageShuffles;
    settings.pnpRouter = page.pnpRouter;
}

void FillSync(SettingsSync& page, const ASync& sync) {
    for (const SyncWord& word : kSyncWords)
        page.*word.box = (sync.*word.get)();
    const uint32_t fields = sync.GetSongFields();
    for (const auto& [box, field] : kPlayDataBoxes)
        page.*box = (fields & field) ? 1 : 0;
    page.autoReplaceAll = sync.GetAutoReplaceAll();
    const auto* songSync = dynamic_cast<const ASyncLib*>(&sync);
    if (!songSync)
        return;
    for (const auto& word : kPairingWords)
        page.*word.box = songSync->GetSongOption(word.option);
    page.dontCopyWhenTagsEqual = songSync->GetDontCopyWhenTagsEqual();
}

void ApplySync(const SettingsSync& page, ASync& sync) {
    if (auto* songSync = dynamic_cast<ASyncLib*>(&sync)) {
        for (const auto& word : kPairingWords)
            songSync->SetSongOption(word.option, page.*word.box);
        songSync->SetDontCopyWhenTagsEqual(page.dontCopyWhenTagsEqual);
    }
    for (const SyncWord& word : kSyncWords)
        (sync.*word.set)(page.*word.box);
    uint32_t fields = 0;
    for (const auto& [box, field] : kPlayDataBoxes)
        fields |= page.*box ? static_cast<uint32_t>(field) : 0U;
    sync.SetSongFields(fields);
    sync.SetAutoReplaceAll(page.autoReplaceAll ? 1 : 0);
}

void FillDeletes(SettingsDeletes& page, const AppSettings& settings, const ASync& sync, bool deviceChosen) {
    const ADir* lists[] = {&sync.GetDirectory1(), &sync.GetDirectory2()};
    for (int side : {SettingsDeletes::kITunesSide, SettingsDeletes::kIPodSide}) {
        page.sides[side].move = lists[side]->GetKeepRemovedFiles();
        page.sides[side].folder = ToQString(lists[side]->GetRemovedFilesFolder());
    }
    page.sides[SettingsDeletes::kITunesSide].history = settings.iTunesHistory;
    page.sides[SettingsDeletes::kIPodSide].history = settings.iPodHistory;
    page.podSideEnabled = deviceChosen ? 1 : 0;
}

void ApplyDeletes(const SettingsDeletes& page, AppSettings& settings, ASync& sync) {
    const std::pair<ADir*, ADir*> lists[] = {{&sync.GetDirectory1(), &sync.GetSnapshot1()},
                                             {&sync.GetDirectory2(), &sync.GetSnapshot2()}};
    for (int side : {SettingsDeletes::kITunesSide, SettingsDeletes::kIPodSide}) {
        const SettingsDeletes::SideValues& values = page.sides[side];
        for (ADir* list : {lists[side].first, lists[side].second}) {
            list->SetKeepRemovedFiles(values.move);
            list->SetRemovedFilesFolder(ToAString(values.folder));
        }
    }
    settings.iTunesHistory = page.sides[SettingsDeletes::kITunesSide].history;
    settings.iPodHistory = page.sides[SettingsDeletes::kIPodSide].history;
}

void FillDuplicates(SyncProperties& sheet, const ASyncLib& sync) {
    for (const auto& word : kDuplicateWords)
        sheet.rules.*word.box = sync.GetSongOption(word.option);
    sheet.rules.preferredTypes = sync.GetPreferredTypes().IsEmpty() ? 0 : 1;
    sheet.appleIDs.texts = ColonItems(sync.GetAppleIDs());
    sheet.types.texts = ColonItems(sync.GetPreferredTypes());
}

void ApplyDuplicates(const SyncProperties& sheet, ASyncLib& sync) {
    for (const auto& word : kDuplicateWords)
        sync.SetSongOption(word.option, sheet.rules.*word.box);
    WriteColonList(sync.GetAppleIDs(), sheet.appleIDs.texts, [&](const AString& ids) { sync.SetAppleIDs(ids); });
    const QStringList preferred = sheet.rules.preferredTypes ? sheet.types.texts : QStringList();
    WriteColonList(sync.GetPreferredTypes(), preferred, [&](const AString& types) { sync.SetPreferredTypes(types); });
}

// Whether the pages pair or filter songs otherwise than the sync does (lists compared without
// regard to case, as the filters compare).
bool PairingOrFilteringChanged(const SyncProperties& sheet, const ASync& sync) {
    if (const auto* songSync = dynamic_cast<const ASyncLib*>(&sync)) {
        for (const auto& word : kPairingWords) {
            if (sheet.sync.*word.box != songSync->GetSongOption(word.option))
                return true;
        }
    }
    for (int field = 0; field < SyncProperties::kFilterCount; ++field) {
        const std::optional<FilterValues> old = ReadFilter(sync, field);
        const SettingsFilter& page = *sheet.filters[field];
        if (old && (page.mode != old->mode || !SameItems(old->include, page.include, Qt::CaseInsensitive) ||
                    !SameItems(old->exclude, page.exclude, Qt::CaseInsensitive)))
            return true;
    }
    return false;
}

} // namespace

void SyncPropertiesExchange::Fill(SyncProperties& sheet, const AppSettings& settings, const ASync& sync,
                                  bool deviceChosen, const RouterTest::Texts& router) {
    sheet.lastPage = settings.activePage1;
    sheet.lastDuplicatesChild = settings.activePage2;
    sheet.lastFilteringChild = settings.activePage3;
    FillGlobal(sheet.global, settings, router);
    FillSync(sheet.sync, sync);
    FillDeletes(sheet.deletes, settings, sync, deviceChosen);
    if (const auto* songSync = dynamic_cast<const ASyncLib*>(&sync))
        FillDuplicates(sheet, *songSync);
    for (int field = 0; field < SyncProperties::kFilterCount; ++field) {
        const std::optional<FilterValues> values = ReadFilter(sync, field);
        if (!values)
            continue;
        SettingsFilter& page = *sheet.filters[field];
        page.mode = values->mode;
        page.include = ColonItems(values->include);
        page.exclude = ColonItems(values->exclude);
    }
}

void SyncPropertiesExchange::Apply(const SyncProperties& sheet, AppSettings& settings, ASync& sync) {
    const bool changed = PairingOrFilteringChanged(sheet, sync);
    settings.activePage1 = sheet.lastPage;
    settings.activePage2 = sheet.lastDuplicatesChild;
    settings.activePage3 = sheet.lastFilteringChild;
    ApplyGlobal(sheet.global, settings);
    ApplySync(sheet.sync, sync);
    ApplyDeletes(sheet.deletes, settings, sync);
    if (auto* songSync = dynamic_cast<ASyncLib*>(&sync))
        ApplyDuplicates(sheet, *songSync);
    for (int field = 0; field < SyncProperties::kFilterCount; ++field) {
        if (const std::optional<FilterValues> old = ReadFilter(sync, field))
            WriteFilter(sync, field, *sheet.filters[field], *old);
    }
    if (changed) {
        sync.GetSnapshot1().Clear();
        sync.GetSnapshot2().Clear();
    }
}

RouterTest::Texts SyncPropertiesExchange::RouterTexts(const HelperProgram& helper) {
    if (!helper.IsRunning())
        return RouterTest::FailedTexts();
    const std::optional<RouterStatus> status = RouterStatus::AskHelper(helper, true);
    return status ? RouterTest::StatusTexts(*status) : RouterTest::FailedTexts();
}
