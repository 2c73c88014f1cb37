// Deciding the actions of a two-way sync between two lists of n entries that differ in 1% of their
// songs (new on one side, new on the other, changed), against sorting the same entries with the
// engine's own comparator in the same run. Deciding sorts both lists, checks their order and walks
// them once, so it should stay within a small factor of the sort (goal: 3x) and grow as n log n.
// The file queries answer from memory: this measures the engine, not the disk.

#include "foundation/AMemFile.h"
#include "library/songlists/ADir.h"
#include "sync/ASync.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kDifferenceEvery = 300; // 1%: one new in 1, one new in 2, one changed per 300 songs
constexpr double kGoalRatio = 3.0;

enum Kind { kOnlyIn1, kOnlyIn2, kChanged, kAlike };

Kind KindOf(int song) {
    switch (song % kDifferenceEvery) {
    case 0:
        return kOnlyIn1;
    case kDifferenceEvery / 3:
        return kOnlyIn2;
    case 2 * kDifferenceEvery / 3:
        return kChanged;
    default:
        return kAlike;
    }
}

// A changed song carries a '#' in its name; both sides see it, the walk pairs it as any other.
std::string EntryOf(int song) {
    return "Artist " + std::to_string(song % 997) + "/Album " + std::to_string(song % 4099) + "/Title " +
           std::to_string(song) + (KindOf(song) == kChanged ? " #" : "") + ".mp3";
}

class InMemorySync : public ASync {
public:
    bool IsDirectory(const AString&) override { return false; }
    bool CompareFileInfo(const AString& a, const AString&) override { return a.Find(u'#') < 0; }
    uint64_t GetFileDate(const AString& path) override { return IsOnSide1(path) ? 2 : 1; }
    bool CompareContents(const AString&, const AString&) override { return false; }
};

// Both lists as saved records, their entries in a shuffled order, made once per size.
struct SavedLists {
    AMemFile side1;
    AMemFile side2;
};

const SavedLists& ListsOf(int count) {
    static std::map<int, std::unique_ptr<SavedLists>> made;
    auto& lists = made[count];
    if (lists)
        return *lists;
    lists = std::make_unique<SavedLists>();
    std::vector<int> songs(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        songs[static_cast<size_t>(i)] = i;
    std::shuffle(songs.begin(), songs.end(), std::mt19937(count));
    ADir side1;
    ADir side2;
    for (const int song : songs) {
        const AString entry(EntryOf(song).c_str());
        if (KindOf(song) != kOnlyIn2)
            side1.AddEntry(entry, 0);
        if (KindOf(song) != kOnlyIn1)
            side2.AddEntry(entry, 0);
    }
    side1.Save(lists->side1, 0);
    side2.Save(lists->side2, 0);
    return *lists;
}

void LoadList(ADir& list, const AMemFile& saved, const char* root) {
    AMemFile reader(saved.GetBuffer(), saved.GetSize());
    list.Load(reader, 0);
    list.SetRootPath(AString(root));
}

void LoadBoth(ASync& sync, int count) {
    LoadList(sync.GetDirectory1(), ListsOf(count).side1, "/music/one/");
    LoadList(sync.GetDirectory2(), ListsOf(count).side2, "/music/two/");
}

double Seconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

// The peer: the entries of both lists, unsorted, sorted with the engine's comparator.
double SortSeconds(const InMemorySync& sync, int count) {
    ADir side1;
    ADir side2;
    LoadList(side1, ListsOf(count).side1, "/music/one/");
    LoadList(side2, ListsOf(count).side2, "/music/two/");
    std::vector<const AString*> entries;
    for (ADir* list : {&side1, &side2}) {
        for (int i = 0; i < list->GetCount(); ++i)
            entries.push_back(list->GetEntry(i));
    }
    const auto start = std::chrono::steady_clock::now();
    std::sort(entries.begin(), entries.end(),
              [&sync](const AString* a, const AString* b) { return sync.CompareEntryNames(*a, *b) < 0; });
    return Seconds(std::chrono::steady_clock::now() - start);
}

int DifferencesIn(int count) {
    int differences = 0;
    for (int song = 0; song < count; ++song)
        differences += KindOf(song) != kAlike ? 1 : 0;
    return differences;
}

void BM_DecideTwoWay(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int differences = DifferencesIn(count);
    InMemorySync sync;
    sync.SetDirection(kDirectionBoth);
    double decideSeconds = 0;
    double sortSeconds = 0;
    for (auto _ : state) {
        LoadBoth(sync, count);
        sync.ClearActions();
        const auto start = std::chrono::steady_clock::now();
        const int result = sync.CalculateTwoWay(CancelCallback(), false);
        const double seconds = Seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(seconds);
        decideSeconds += seconds;
        if (result != 0 || sync.GetActionCount() != differences) {
            state.SkipWithError("unexpected actions");
            break;
        }
        sortSeconds += SortSeconds(sync, count);
    }
    const double ratio = decideSeconds / sortSeconds;
    state.counters["sort_ms"] = 1000 * sortSeconds / state.iterations();
    state.counters["decide_per_sort"] = ratio;
    state.counters["within_3x"] = ratio <= kGoalRatio ? 1 : 0;
    state.SetComplexityN(count);
}

} // namespace

BENCHMARK(BM_DecideTwoWay)
    ->Arg(25000)
    ->Arg(50000)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Complexity(benchmark::oNLogN);

BENCHMARK_MAIN();
