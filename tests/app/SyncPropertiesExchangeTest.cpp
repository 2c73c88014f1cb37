// The settings sheet's exchange with the main program's settings and the loaded set's first sync:
// what Fill puts into the pages, what Apply takes back, and when the sync forgets its last run.

#include "app/settings/SyncPropertiesExchange.h"

#include "app/settings/SyncProperties.h"
#include "app/state/AppSettings.h"
#include "app/state/HelperProgram.h"
#include "harness/AppTestHome.h"
#include "harness/FakeHelperProgram.h"
#include "harness/SheetRun.h"
#include "library/songlists/ADir.h"
#include "platform/ini/PrivateProfile.h"
#include "platform/ipc/PeerMessage.h"
#include "platform/ui/WindowMessages.h"
#include "sync/ASync.h"
#include "sync/ASyncLib.h"
#include "support/TempDir.h"
#include "sync/SongKey.h"
#include "widgets/APropertySheet.h"
#include "widgets/PropertyPageTabs.h"
#include "widgets/QtText.h"
#include "widgets/WidgetTestSupport.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace {

const RouterTest::Texts kRouter{"Nat: OK", "Ext. IP: 203.0.113.7", "Ext. Port: 10565"};

QString N(uint32_t value) {
    return QString::number(value);
}

void Add(QStringList& lines, const QString& name, uint32_t value) {
    lines << name + "=" + N(value);
}

void Add(QStringList& lines, const QString& name, const AString& value) {
    lines << name + "=" + ToQString(value);
}

// Every option of the sync that the sheet reaches, one "name=value" line each, so that a difference
// names itself.
QStringList Options(const ASync& sync) {
    QStringList lines;
    Add(lines, "verbose", sync.GetVerboseLog());
    Add(lines, "show list", sync.GetShowActionList());
    Add(lines, "stop on error", sync.GetStopOnError());
    Add(lines, "auto run", sync.GetAutoRunSync());
    Add(lines, "list option", sync.GetListOption());
    Add(lines, "force read-only", sync.GetForceReadOnly());
    Add(lines, "play data", sync.GetSongFields());
    Add(lines, "auto replace", sync.GetAutoReplaceAll());
    Add(lines, "direction", sync.GetDirection());
    Add(lines, "delete mode", sync.GetDeleteMode());
    Add(lines, "type mode", sync.GetTypeFilterMode());
    Add(lines, "type include", sync.GetTypeIncludeList());
    Add(lines, "type exclude", sync.GetTypeExcludeList());
    Add(lines, "path mode", sync.GetPathFilterMode());
    Add(lines, "path include", sync.GetPathIncludeList());
    Add(lines, "path exclude", sync.GetPathExcludeList());
    int index = 0;
    for (const ADir* list : {&sync.GetDirectory1(), &sync.GetSnapshot1(), &sync.GetDirectory2(), &sync.GetSnapshot2()}) {
        Add(lines, QStringLiteral("move %1").arg(index), list->GetKeepRemovedFiles());
        Add(lines, QStringLiteral("folder %1").arg(index++), list->GetRemovedFilesFolder());
    }
    const auto* song = dynamic_cast<const ASyncLib*>(&sync);
    if (!song)
        return lines;
    for (int option = ASyncLib::kLargestOverNewest; option <= ASyncLib::kOnlyMyAppleIDs; ++option)
        Add(lines, QStringLiteral("song option %1").arg(option), song->GetSongOption(ASyncLib::SongOption(option)));
    Add(lines, "don't copy", song->GetDontCopyWhenTagsEqual());
    Add(lines, "apple ids", song->GetAppleIDs());
    Add(lines, "preferred", song->GetPreferredTypes());
    for (int field = ASyncLib::kGenreField; field <= ASyncLib::kTitleField; ++field) {
        const auto tag = ASyncLib::TagField(field);
        Add(lines, QStringLiteral("tag %1 mode").arg(field), song->GetFilterMode(tag));
        Add(lines, QStringLiteral("tag %1 include").arg(field), song->GetFilterInclude(tag));
        Add(lines, QStringLiteral("tag %1 exclude").arg(field), song->GetFilterExclude(tag));
    }
    return lines;
}

QStringList Options(const AppSettings& settings) {
    QStringList lines;
    for (const auto& [name, value] : std::initializer_list<std::pair<const char*, uint32_t>>{
             {"page 1", settings.activePage1},
             {"page 2", settings.activePage2},
             {"page 3", settings.activePage3},
             {"hide", settings.hideITunes},
             {"auto close", settings.autoClose},
             {"start server", settings.startServer},
             {"port", settings.serverPort},
             {"manage iPods", settings.manageIPods},
             {"manage shuffles", settings.manageShuffles},
             {"pnp", settings.pnpRouter}})
        Add(lines, name, value);
    lines << "history 1=" + settings.iTunesHistory.join('|') << "history 2=" + settings.iPodHistory.join('|');
    return lines;
}

int Differences(const QStringList& a, const QStringList& b) {
    int count = 0;
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i)
        count += a[i] == b[i] ? 0 : 1;
    return count + static_cast<int>(std::max(a.size(), b.size()) - std::min(a.size(), b.size()));
}

// A song in each snapshot, listed from a folder of its own (a song list reads the file's tags).
void AddSnapshotEntries(ASync& sync, const TempDir& folder) {
    std::filesystem::copy_file(ORVANTIS_FIXTURES "/tags/id3v1_only.mp3", folder.File("a.mp3"),
                               std::filesystem::copy_options::overwrite_existing);
    for (ADir* snapshot : {&sync.GetSnapshot1(), &sync.GetSnapshot2()}) {
        snapshot->SetRootPath(AString(folder.Path() + "/"));
        ASSERT_GE(snapshot->AddEntry(AString("a.mp3"), 0), 0);
    }
}

int SnapshotEntries(const ASync& sync) {
    return sync.GetSnapshot1().GetCount() + sync.GetSnapshot2().GetCount();
}

void SetMoveTo(ADir& list, ADir& snapshot, uint32_t move, const char* folder) {
    for (ADir* each : {&list, &snapshot}) {
        each->SetKeepRemovedFiles(move);
        each->SetRemovedFilesFolder(AString(folder));
    }
}

// A song sync and settings whose options differ from their defaults, with a song in each snapshot.
struct KnownOptions {
    KnownOptions() {
        sync.SetVerboseLog(0);
        sync.SetShowActionList(0);
        sync.SetStopOnError(1);
        sync.SetAutoRunSync(1);
        sync.SetListOption(0);
        sync.SetForceReadOnly(1);
        sync.SetSongFields(SongKey::kRating | SongKey::kLastPlayed);
        sync.SetAutoReplaceAll(1);
        sync.SetUseGenre(1);
        sync.SetUseAlbumName(0);
        sync.SetUseFileType(1);
        sync.SetUseTrackNumber(1);
        sync.SetDontCopyWhenTagsEqual(1);
        sync.SetProtectedFiles(1);
        sync.SetLargestOverNewest(1);
        sync.SetOnlyMyAppleIDs(0);
        sync.SetAppleIDs(AString(":ann@example.org:bob@example.org:"));
        sync.SetPreferredTypes(AString(":m4a:mp3:"));
        sync.SetGenreFilterMode(1);
        sync.SetGenreIncludeList(AString(":Rock:Pop:"));
        sync.SetGenreExcludeList(AString(":Jazz:"));
        sync.SetArtistFilterMode(2);
        sync.SetArtistExcludeList(AString(":Abba:"));
        sync.SetTitleIncludeList(AString(":Intro:"));
        sync.SetTypeFilterMode(1);
        sync.SetTypeIncludeList(AString(":mp3:"));
        sync.SetPathFilterMode(2);
        sync.SetPathExcludeList(AString(":Podcasts:"));
        SetMoveTo(sync.GetDirectory1(), sync.GetSnapshot1(), 0, "/music/old/");
        SetMoveTo(sync.GetDirectory2(), sync.GetSnapshot2(), 1, "/pod/removed/");
        AddSnapshotEntries(sync, songs);

        settings.activePage1 = 3;
        settings.activePage2 = 2;
        settings.activePage3 = 4;
        settings.hideITunes = 1;
        settings.autoClose = 1;
        settings.startServer = 0;
        settings.serverPort = 2000;
        settings.manageIPods = 1;
        settings.manageShuffles = 1;
        settings.pnpRouter = 1;
        settings.iTunesHistory = {"/music/old/", "/music/older/"};
        settings.iPodHistory = {"/pod/removed/"};
    }

    // Fills a sheet, lets `edit` change its pages as the user would, and applies it.
    void Exchange(const std::function<void(SyncProperties&)>& edit) {
        SyncProperties sheet;
        SyncPropertiesExchange::Fill(sheet, settings, sync, true, kRouter);
        edit(sheet);
        SyncPropertiesExchange::Apply(sheet, settings, sync);
    }

    TempDir songs;
    ASyncLib sync{ADir::kTypeSongDir, ADir::kTypeSongDir};
    AppSettings settings;
};

class SyncPropertiesExchangeTest : public testing::Test, protected KnownOptions {};

TEST_F(SyncPropertiesExchangeTest, ThePagesShowTheSyncAndTheSettings) {
    SyncProperties sheet;
    SyncPropertiesExchange::Fill(sheet, settings, sync, true, kRouter);
    EXPECT_EQ(sheet.lastPage, 3u);
    EXPECT_EQ(sheet.lastDuplicatesChild, 2u);
    EXPECT_EQ(sheet.lastFilteringChild, 4u);
    EXPECT_EQ(sheet.global.serverPort, 2000u);
    EXPECT_EQ(sheet.global.manageShuffles, 1u);
    EXPECT_EQ(QStringList({sheet.global.natText, sheet.global.ipText, sheet.global.portText}),
              QStringList({kRouter.nat, kRouter.ip, kRouter.port}));
    EXPECT_EQ(sheet.sync.syncRatings + sheet.sync.syncLastPlayed, 2u);
    EXPECT_EQ(sheet.sync.syncComments + sheet.sync.syncPlaycounts + sheet.sync.syncEQ, 0u);
    EXPECT_EQ(sheet.deletes.sides[SettingsDeletes::kITunesSide].folder, "/music/old/");
    EXPECT_EQ(sheet.deletes.sides[SettingsDeletes::kIPodSide].move, 1u);
    EXPECT_EQ(sheet.deletes.sides[SettingsDeletes::kITunesSide].history, settings.iTunesHistory);
    EXPECT_EQ(sheet.deletes.sides[SettingsDeletes::kIPodSide].history, settings.iPodHistory);
    EXPECT_EQ(sheet.deletes.podSideEnabled, 1u);
    EXPECT_EQ(sheet.appleIDs.texts, QStringList({"ann@example.org", "bob@example.org"}));
    EXPECT_EQ(sheet.rules.preferredTypes, 1u);
    EXPECT_EQ(sheet.types.texts, QStringList({"m4a", "mp3"}));
    const SettingsFilter& genre = *sheet.filters[SyncProperties::kGenre];
    EXPECT_EQ(genre.mode, 1u);
    EXPECT_EQ(genre.include, QStringList({"Rock", "Pop"}));
    EXPECT_EQ(genre.exclude, QStringList({"Jazz"}));
    EXPECT_EQ(sheet.filters[SyncProperties::kTitle]->include, QStringList({"Intro"}));
    EXPECT_EQ(sheet.filters[SyncProperties::kPath]->exclude, QStringList({"Podcasts"}));

    // Without a device chosen the iPod side cannot be changed.
    SyncPropertiesExchange::Fill(sheet, settings, sync, false, kRouter);
    EXPECT_EQ(sheet.deletes.podSideEnabled, 0u);
}

TEST_F(SyncPropertiesExchangeTest, UnchangedPagesKeepEveryOptionAndTheSnapshots) {
    const QStringList syncBefore = Options(sync);
    const QStringList settingsBefore = Options(settings);
    Exchange([](SyncProperties&) {});
    EXPECT_EQ(Options(sync), syncBefore);
    EXPECT_EQ(Options(settings), settingsBefore);
    EXPECT_EQ(SnapshotEntries(sync), 2);
}

// Each change reaches its one option (the move-to values go to a side's list and its snapshot, so
// they change two), and only a change of how songs are paired or filtered (or of an option the song
// lists hold) forgets the last sync.
TEST_F(SyncPropertiesExchangeTest, EachChangedOptionReachesTheSync) {
    using Read = QString (*)(const ASyncLib&, const AppSettings&);
    struct Case {
        const char* name;
        void (*edit)(SyncProperties&);
        Read read;
        const char* expected;
        int changes;
        bool forgets;
    };
    const Case cases[] = {
        {"use genre", [](SyncProperties& s) { s.sync.useGenre = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetUseGenre()); }, "0", 1, true},
        {"use album", [](SyncProperties& s) { s.sync.useAlbumName = 1; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetUseAlbumName()); }, "1", 1, true},
        {"use type", [](SyncProperties& s) { s.sync.useFileType = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetUseFileType()); }, "0", 1, true},
        {"use track", [](SyncProperties& s) { s.sync.useTrackNumber = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetUseTrackNumber()); }, "0", 1, true},
        {"verbose", [](SyncProperties& s) { s.sync.verboseLog = 1; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetVerboseLog()); }, "1", 1, false},
        {"show list", [](SyncProperties& s) { s.sync.showActionList = 1; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetShowActionList()); }, "1", 1, false},
        {"stop", [](SyncProperties& s) { s.sync.stopOnError = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetStopOnError()); }, "0", 1, false},
        {"auto run", [](SyncProperties& s) { s.sync.autoRunSync = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetAutoRunSync()); }, "0", 1, false},
        {"last sync playlist", [](SyncProperties& s) { s.sync.createLastSyncPlayList = 1; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetListOption()); }, "1", 1, false},
        {"don't copy", [](SyncProperties& s) { s.sync.dontCopyWhenTagsEqual = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetDontCopyWhenTagsEqual()); }, "0", 1, false},
        {"read-only", [](SyncProperties& s) { s.sync.forceReadOnly = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetForceReadOnly()); }, "0", 1, false},
        {"auto replace", [](SyncProperties& s) { s.sync.autoReplaceAll = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetAutoReplaceAll()); }, "0", 1, false},
        {"comments", [](SyncProperties& s) { s.sync.syncComments = 1; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetSongFields() & SongKey::kComment); }, "1", 1,
         false},
        {"playcounts", [](SyncProperties& s) { s.sync.syncPlaycounts = 1; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetSongFields() & SongKey::kPlayCount); }, "2", 1,
         false},
        {"ratings", [](SyncProperties& s) { s.sync.syncRatings = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetSongFields() & SongKey::kRating); }, "0", 1,
         false},
        {"EQ", [](SyncProperties& s) { s.sync.syncEQ = 1; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetSongFields() & SongKey::kEqualizer); }, "8", 1,
         false},
        {"last played", [](SyncProperties& s) { s.sync.syncLastPlayed = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetSongFields() & SongKey::kLastPlayed); }, "0", 1,
         false},
        {"protected", [](SyncProperties& s) { s.rules.protectedFiles = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetProtectedFiles()); }, "0", 1, true},
        {"largest", [](SyncProperties& s) { s.rules.largestOverNewest = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetLargestOverNewest()); }, "0", 1, true},
        {"only mine", [](SyncProperties& s) { s.rules.onlyMyAppleIDs = 1; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetOnlyMyAppleIDs()); }, "1", 1, true},
        {"apple ids", [](SyncProperties& s) { s.appleIDs.texts = {"a", "b"}; },
         [](const ASyncLib& y, const AppSettings&) { return ToQString(y.GetAppleIDs()); }, ":a:b:", 1, false},
        {"preferred types", [](SyncProperties& s) { s.types.texts = {"a", "b"}; },
         [](const ASyncLib& y, const AppSettings&) { return ToQString(y.GetPreferredTypes()); }, ":a:b:", 1, true},
        {"no preferred types", [](SyncProperties& s) { s.rules.preferredTypes = 0; },
         [](const ASyncLib& y, const AppSettings&) { return ToQString(y.GetPreferredTypes()); }, "", 1, true},
        {"genre mode", [](SyncProperties& s) { s.filters[SyncProperties::kGenre]->mode = 2; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetGenreFilterMode()); }, "2", 1, true},
        {"genre list", [](SyncProperties& s) { s.filters[SyncProperties::kGenre]->include = {"Rock", "Blues"}; },
         [](const ASyncLib& y, const AppSettings&) { return ToQString(y.GetGenreIncludeList()); }, ":Rock:Blues:", 1,
         true},
        {"artist list", [](SyncProperties& s) { s.filters[SyncProperties::kArtist]->exclude = {}; },
         [](const ASyncLib& y, const AppSettings&) { return ToQString(y.GetArtistExcludeList()); }, "", 1, true},
        {"album mode", [](SyncProperties& s) { s.filters[SyncProperties::kAlbum]->mode = 1; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetAlbumFilterMode()); }, "1", 1, true},
        {"title list", [](SyncProperties& s) { s.filters[SyncProperties::kTitle]->exclude = {"Outro"}; },
         [](const ASyncLib& y, const AppSettings&) { return ToQString(y.GetTitleExcludeList()); }, ":Outro:", 1,
         true},
        {"type mode", [](SyncProperties& s) { s.filters[SyncProperties::kType]->mode = 0; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetTypeFilterMode()); }, "0", 1, true},
        {"type list", [](SyncProperties& s) { s.filters[SyncProperties::kType]->exclude = {"wav"}; },
         [](const ASyncLib& y, const AppSettings&) { return ToQString(y.GetTypeExcludeList()); }, ":wav:", 1, true},
        {"path list", [](SyncProperties& s) { s.filters[SyncProperties::kPath]->include = {"Live"}; },
         [](const ASyncLib& y, const AppSettings&) { return ToQString(y.GetPathIncludeList()); }, ":Live:", 1, true},
        {"move on library side", [](SyncProperties& s) { s.deletes.sides[SettingsDeletes::kITunesSide].move = 1; },
         [](const ASyncLib& y, const AppSettings&) { return N(y.GetSnapshot1().GetKeepRemovedFiles()); }, "1", 2,
         false},
        {"iPod side folder",
         [](SyncProperties& s) { s.deletes.sides[SettingsDeletes::kIPodSide].folder = "/elsewhere/"; },
         [](const ASyncLib& y, const AppSettings&) { return ToQString(y.GetDirectory2().GetRemovedFilesFolder()); },
         "/elsewhere/", 2, false},
        {"library history", [](SyncProperties& s) { s.deletes.sides[SettingsDeletes::kITunesSide].history = {"/x/"}; },
         [](const ASyncLib&, const AppSettings& a) { return a.iTunesHistory.join('|'); }, "/x/", 1, false},
        {"iPod history",
         [](SyncProperties& s) { s.deletes.sides[SettingsDeletes::kIPodSide].history = {"/p/", "/q/"}; },
         [](const ASyncLib&, const AppSettings& a) { return a.iPodHistory.join('|'); }, "/p/|/q/", 1, false},
        {"last tab", [](SyncProperties& s) { s.lastPage = 1; },
         [](const ASyncLib&, const AppSettings& a) { return N(a.activePage1); }, "1", 1, false},
        {"last filter child", [](SyncProperties& s) { s.lastFilteringChild = 5; },
         [](const ASyncLib&, const AppSettings& a) { return N(a.activePage3); }, "5", 1, false},
        {"hide", [](SyncProperties& s) { s.global.hideITunes = 0; },
         [](const ASyncLib&, const AppSettings& a) { return N(a.hideITunes); }, "0", 1, false},
        {"port", [](SyncProperties& s) { s.global.serverPort = 3000; },
         [](const ASyncLib&, const AppSettings& a) { return N(a.serverPort); }, "3000", 1, false},
        {"manage iPods", [](SyncProperties& s) { s.global.manageIPods = 0; },
         [](const ASyncLib&, const AppSettings& a) { return N(a.manageIPods); }, "0", 1, false},
        {"pnp", [](SyncProperties& s) { s.global.pnpRouter = 0; },
         [](const ASyncLib&, const AppSettings& a) { return N(a.pnpRouter); }, "0", 1, false},
    };
    const QStringList before = Options(sync) + Options(settings);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KnownOptions fresh;
        fresh.Exchange(c.edit);
        EXPECT_EQ(c.read(fresh.sync, fresh.settings), QString::fromUtf8(c.expected));
        EXPECT_EQ(Differences(before, Options(fresh.sync) + Options(fresh.settings)), c.changes);
        EXPECT_EQ(SnapshotEntries(fresh.sync), c.forgets ? 0 : 2);
    }
}

// An empty list (which an older set may keep as ":"), a list without its outer colons and a change
// of letter case only are no change of what passes the filters: the sync keeps its last run.
TEST_F(SyncPropertiesExchangeTest, TheSameItemsInAnotherSpellingAreNoChange) {
    sync.SetAlbumExcludeList(AString(":"));
    sync.SetTypeExcludeList(AString("wav:aiff"));
    AddSnapshotEntries(sync, songs);
    Exchange([](SyncProperties& sheet) { sheet.filters[SyncProperties::kPath]->exclude = {"PODCASTS"}; });
    EXPECT_EQ(sync.GetAlbumExcludeList(), ":");
    EXPECT_EQ(sync.GetTypeExcludeList(), "wav:aiff");
    EXPECT_EQ(SnapshotEntries(sync), 2);
}

// A sync that is not a song sync keeps the song pages as they were and takes the type and path
// filters.
TEST(SyncPropertiesExchangePlainSync, TheTypeAndPathFiltersReachIt) {
    const TempDir songs;
    ASync sync;
    AddSnapshotEntries(sync, songs);
    AppSettings settings;
    SyncProperties sheet;
    SyncPropertiesExchange::Fill(sheet, settings, sync, false, RouterTest::FailedTexts());
    EXPECT_EQ(sheet.sync.useGenre, 0u);
    EXPECT_EQ(sheet.sync.verboseLog, 1u);
    EXPECT_EQ(sheet.global.natText, "Nat: Error");
    sheet.filters[SyncProperties::kGenre]->include = {"Rock"};
    SyncPropertiesExchange::Apply(sheet, settings, sync);
    EXPECT_EQ(SnapshotEntries(sync), 2);

    sheet.filters[SyncProperties::kType]->mode = 1;
    sheet.filters[SyncProperties::kType]->include = {"mp3", "m4a"};
    SyncPropertiesExchange::Apply(sheet, settings, sync);
    EXPECT_EQ(sync.GetTypeFilterMode(), 1u);
    EXPECT_EQ(sync.GetTypeIncludeList(), ":mp3:m4a:");
    EXPECT_EQ(SnapshotEntries(sync), 0);
}

// Every page opened by the user and closed with OK gives back what it was given.
TEST_F(SyncPropertiesExchangeTest, ASheetClosedWithOkChangesNothing) {
    const AppTestHome home;
    const std::string podFolder = home.Folder().File("removed") + "/";
    std::filesystem::create_directories(podFolder);
    SetMoveTo(sync.GetDirectory2(), sync.GetSnapshot2(), 1, podFolder.c_str());
    settings.iPodHistory = {QString::fromStdString(podFolder)};
    const QStringList syncBefore = Options(sync);
    const QStringList settingsBefore = Options(settings);

    SyncProperties sheet;
    SyncPropertiesExchange::Fill(sheet, settings, sync, true, kRouter);
    const SheetRun run = RunSheet(sheet, [&](APropertySheet& shown) {
        UserShows(shown, 4);
        for (int child : {0, 1, 2, 3, 5, 4}) {
            sheet.filtering.ChildTabs().setCurrentIndex(child);
            Drain();
        }
        for (int tab : {0, 1, 2, 3}) {
            UserShows(shown, tab);
        }
        for (int child : {0, 1, 2}) {
            sheet.duplicates.ChildTabs().setCurrentIndex(child);
            Drain();
        }
    });
    ASSERT_EQ(run.result, nativeui::kIdOk) << run.messages.join('\n').toStdString();
    SyncPropertiesExchange::Apply(sheet, settings, sync);
    EXPECT_EQ(Options(sync), syncBefore);
    EXPECT_EQ(Options(settings), settingsBefore);
    EXPECT_EQ(SnapshotEntries(sync), 2);
}

class RouterTextsTest : public testing::Test {
protected:
    nativeipc::PeerAddress Peers() const { return nativeipc::PeerAddress(QString::fromStdString(home.RuntimeFolder())); }
    std::string StatusFile() const { return home.SyncSetsFolder() + "/Router.stat"; }
    void WriteStatus(const char* status, const char* ip) const {
        nativeini::PrivateProfile stat(StatusFile());
        stat.WriteString("Stat", "Status", status);
        stat.WriteString("Stat", "ExtIP", ip);
        stat.WriteString("Stat", "ExtPort", "10565");
    }

    AppTestHome home;
};

TEST_F(RouterTextsTest, TheServerProgramWritesTheStatusAnew) {
    std::filesystem::create_directories(home.SyncSetsFolder());
    const HelperProgram link(Peers());
    WriteStatus("1", "203.0.113.7");
    // No server program: an old file says nothing.
    EXPECT_EQ(SyncPropertiesExchange::RouterTexts(link).nat, "Nat: Error");

    FakeHelperProgram helper(Peers());
    const char* written = "203.0.113.7";
    helper.SetReaction([&](const nativeipc::PeerMessage& message) {
        if (message.number == nativeipc::peermessage::kHelperWriteRouterStatus && written)
            WriteStatus("1", written);
    });
    RouterTest::Texts texts = SyncPropertiesExchange::RouterTexts(link);
    EXPECT_EQ(QStringList({texts.nat, texts.ip, texts.port}),
              QStringList({"Nat: OK", "Ext. IP: 203.0.113.7", "Ext. Port: 10565"}));

    written = "192.168.1.1";
    EXPECT_EQ(SyncPropertiesExchange::RouterTexts(link).nat, "Nat: Error");

    // A program that writes nothing leaves no old status behind to be shown.
    written = nullptr;
    WriteStatus("1", "203.0.113.7");
    texts = SyncPropertiesExchange::RouterTexts(link);
    EXPECT_EQ(QStringList({texts.nat, texts.ip, texts.port}),
              QStringList({"Nat: Error", "Ext. IP: Error", "Ext. Port: Error"}));
}

} // namespace
