// The iPod seen through the music application as a song list: a fake iPod of 20,000 tracks (and their
// files) listed through ADirPod (open: the list's client connects, finds the iPod, reads the iPod's
// database for the songs' files and walks every track of the iPod source; sort; every entry text),
// against the same iPod listed through ADirPodDB, which reads the database alone, in turns. The
// application is running with the iPod mounted before the clock starts, as it is when a sync begins.
// The peer is the floor: the figure says what going through the application costs on top of it.

#include "FakePodDrive.h"
#include "foundation/AProgressLite.h"
#include "library/ipod/ITunesDBPodDatabase.h"
#include "library/itunes/ITunesServices.h"
#include "library/songlists/ADirPod.h"
#include "library/songlists/ADirPodDB.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

constexpr int kTracks = 20000;

double MillisecondsFor(const std::function<bool()>& work, bool& ok) {
    const auto start = std::chrono::steady_clock::now();
    ok = work() && ok;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

bool EveryEntryListed(ADir& list) {
    list.Sort(1);
    int listed = 0;
    for (int i = 0; i < list.GetCount(); ++i)
        listed += list.GetEntry(i) ? 1 : 0;
    return listed == kTracks;
}

bool ListThroughApplication() {
    AProgressLite progress;
    ADirPod list(&progress);
    const AString root = ADirPod::RootOf(AString(benchpod::kPodName));
    return list.Open(&root, 0, nullptr) == 0 && EveryEntryListed(list);
}

bool ListFromDatabase(const AString& drive) {
    AProgressLite progress;
    ADirPodDB list(&progress);
    return list.Open(&drive, 0, nullptr) == 0 && EveryEntryListed(list);
}

// The drive is a volume of its own, the music folders lie in the run's folder, and the application
// shows the iPod through our database layer, as the programs start it.
void StartApplicationWith(const benchpod::BenchFolder& folder, const std::string& drive) {
    setenv("ORVANTIS_EXTRA_VOLUMES", drive.c_str(), 1);
    setenv("XDG_MUSIC_DIR", (folder.Path() + "/music").c_str(), 1);
    setenv("XDG_DATA_HOME", (folder.Path() + "/data").c_str(), 1);
    InstallITunesServices(ITunesDBPodDatabase::Opener());
}

void BM_ListPodThroughApplicationVersusDatabaseList20000(benchmark::State& state) {
    const benchpod::BenchFolder folder("ipodsrc-bench-list");
    const std::string drive = folder.Path() + "/ipod";
    bool ok = benchpod::WriteDatabase(drive, kTracks);
    StartApplicationWith(folder, drive);
    ok = ListThroughApplication() && ok;
    const AString root(drive.c_str());
    double application = 0;
    double database = 0;
    for (auto _ : state) {
        database += MillisecondsFor([&] { return ListFromDatabase(root); }, ok);
        application += MillisecondsFor(ListThroughApplication, ok);
    }
    if (!ok)
        state.SkipWithError("a list could not be made");
    state.counters["database_list_ms"] = database / state.iterations();
    state.counters["application_list_ms"] = application / state.iterations();
    state.counters["application_vs_database"] = application / database;
}
BENCHMARK(BM_ListPodThroughApplicationVersusDatabaseList20000)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
