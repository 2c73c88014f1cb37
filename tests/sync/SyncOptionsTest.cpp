// The options a sync hands to its four lists, the filters whose change makes the snapshots forget, and
// the sync's own type filter.

#include "library/songlists/ADir.h"
#include "support/AStringPrinting.h"
#include "sync/ASync.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

void FillSnapshots(ASync& sync) {
    sync.GetSnapshot1().AddEntry(AString("a.mp3"), 0);
    sync.GetSnapshot2().AddEntry(AString("a.mp3"), 0);
}

bool SnapshotsKept(const ASync& sync) {
    return sync.GetSnapshot1().GetCount() == 1 && sync.GetSnapshot2().GetCount() == 1;
}

} // namespace

TEST(SyncOptions, MirroredOptionsReachAllFourLists) {
    ASync sync;
    sync.SetStopOnError(1);
    sync.SetForceReadOnly(1);
    sync.SetVerboseLog(0);
    sync.SetListOption(7);
    for (ADir* list :
         {&sync.GetDirectory1(), &sync.GetSnapshot1(), &sync.GetDirectory2(), &sync.GetSnapshot2()}) {
        EXPECT_EQ(list->GetAskOnError(), 1U);
        EXPECT_EQ(list->GetCopyMode(), 1U);
        EXPECT_EQ(list->GetLogTime(), 0U);
        EXPECT_EQ(list->GetRecordFlag(), 7U);
    }
}

TEST(SyncOptions, ANewFilterEmptiesTheSnapshotsTheSameOneKeepsThem) {
    struct Setter {
        const char* name;
        std::function<void(ASync&, bool)> set; // with `other` a value unlike the first
    };
    const Setter setters[] = {
        {"type mode", [](ASync& s, bool other) { s.SetTypeFilterMode(other ? 2 : 1); }},
        {"type include",
         [](ASync& s, bool other) { s.SetTypeIncludeList(AString(other ? ":wav:" : ":mp3:")); }},
        {"type exclude",
         [](ASync& s, bool other) { s.SetTypeExcludeList(AString(other ? ":wav:" : ":mp3:")); }},
        {"path mode", [](ASync& s, bool other) { s.SetPathFilterMode(other ? 2 : 1); }},
        {"path include",
         [](ASync& s, bool other) { s.SetPathIncludeList(AString(other ? ":Live:" : ":Rock:")); }},
        {"path exclude",
         [](ASync& s, bool other) { s.SetPathExcludeList(AString(other ? ":Live:" : ":Rock:")); }},
        {"own types", [](ASync& s, bool other) { s.SetTypeList(AString(other ? ":wav:" : ":mp3:")); }},
        {"own excluded types",
         [](ASync& s, bool other) { s.SetExcludeTypeList(AString(other ? ":wav:" : ":mp3:")); }},
    };
    for (const Setter& setter : setters) {
        SCOPED_TRACE(setter.name);
        ASync sync;
        setter.set(sync, false);
        FillSnapshots(sync);
        setter.set(sync, false);
        EXPECT_TRUE(SnapshotsKept(sync));
        setter.set(sync, true);
        EXPECT_FALSE(SnapshotsKept(sync));
    }
}

TEST(SyncOptions, FiltersGoToEveryListAndAreReadFromDirectory1) {
    ASync sync;
    sync.SetPathFilterMode(3);
    sync.SetPathIncludeList(AString(":Rock:"));
    sync.SetPathExcludeList(AString(":Live:"));
    sync.SetTypeIncludeList(AString(":mp3:"));
    for (ADir* list :
         {&sync.GetDirectory1(), &sync.GetSnapshot1(), &sync.GetDirectory2(), &sync.GetSnapshot2()}) {
        EXPECT_EQ(list->GetNameFilterFlags(), 3U);
        EXPECT_EQ(list->GetKeepNames(), ":Rock:");
        EXPECT_EQ(list->GetDropNames(), ":Live:");
        EXPECT_EQ(list->GetTypeList(), ":mp3:");
    }
    EXPECT_EQ(sync.GetPathIncludeList(), ":Rock:");
    EXPECT_EQ(sync.GetTypeIncludeList(), ":mp3:");
}

// The sync's own filter searches the type lists as plain text, so a part of a listed type passes too.
TEST(SyncOptions, TheOwnTypeFilter) {
    struct Case {
        const char* include;
        const char* exclude;
        const char* path;
        bool passes;
    };
    const Case cases[] = {
        {":mp3:m4a:", "", "/m/a.MP3", true}, {":mp3:m4a:", "", "/m/a.wav", false},
        {":mp3:", "", "/m/a.p3", true},      {":mp3:", "", "/m/noextension", false},
        {"", ":wav:", "/m/a.wav", false},    {"", ":wav:", "/m/noextension", true},
    };
    for (const Case& item : cases) {
        SCOPED_TRACE(item.path);
        ASync sync;
        sync.SetTypeFilterOn(1);
        sync.SetTypeList(AString(item.include));
        sync.SetExcludeTypeList(AString(item.exclude));
        EXPECT_EQ(sync.PassesFilter(AString(item.path)), item.passes);
        sync.SetTypeFilterOn(0);
        EXPECT_TRUE(sync.PassesFilter(AString(item.path)));
    }
}
