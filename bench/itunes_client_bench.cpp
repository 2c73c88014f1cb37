// Loading a library file into the iTunes client's master list, against a plain parse of the same file
// by pugixml in the same run: 12,500, 25,000 and 50,000 songs with 200 playlists of 250 songs. The load
// is the song list of the whole library opening: the music application starts on the file, the list's
// client connects and reads every song into a record and every playlist into its record. A second load
// by the client alone also binds every playlist's songs (a playlist list binds those of its one). The
// parse is the floor; the goal is the song list's load within twice the parse, growing in step with
// the songs. Times are the thread's CPU time, which other programs on a shared machine do not stretch;
// wall-clock times stand beside.

#include "GeneratedLibrary.h"
#include "foundation/AProgressLite.h"
#include "library/itunes/ITunes.h"
#include "library/songlists/ADirTunes.h"
#include "platform/itunes/ITunesInstance.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <malloc.h>
#include <map>
#include <pugixml.hpp>
#include <utility>

namespace {

using benchlibrary::GeneratedLibrary;

constexpr double kGoal = 2.0;

struct Times {
    double cpu = 0;
    double wall = 0;

    Times& operator+=(const Times& other) {
        cpu += other.cpu;
        wall += other.wall;
        return *this;
    }
    Times Per(double runs) const { return {cpu / runs, wall / runs}; }
};

struct Result {
    Times load;
    Times parse;
};

// By playlist songs or not, then by the number of songs.
std::map<std::pair<bool, int>, Result>& Results() {
    static std::map<std::pair<bool, int>, Result> results;
    return results;
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

Times Measure(const std::function<void()>& work) {
    const double cpuStart = ThreadCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    return {ThreadCpuSeconds() - cpuStart,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// The generated library is the user's: the application keeps it in the user's music folder.
void StartApplicationOn(const GeneratedLibrary& library) {
    setenv("XDG_MUSIC_DIR", library.Folder().c_str(), 1);
    itunesapp::ITunesInstance::Install({});
}

struct Heap {
    size_t modelPerSong = 0;   // the application's model of the library
    size_t recordsPerSong = 0; // the client's records and bindings
};

bool LoadSongList(int songs, Times& load, Heap& heap) {
    AProgressLite progress;
    ADirTunes list(&progress);
    const size_t heapBefore = HeapInUse();
    bool ok = false;
    load += Measure([&] { ok = list.Open(nullptr, 0, CancelCallback()) == 0; });
    heap.recordsPerSong = (HeapInUse() - heapBefore) / static_cast<size_t>(songs);
    return ok && list.GetCount() == songs && list.GetClient()->GetPlayListCount() == benchlibrary::kPlaylists;
}

bool LoadWithPlayListSongs(int songs, Times& load, Heap& heap) {
    AProgressLite progress;
    ITunes client;
    const size_t heapBefore = HeapInUse();
    size_t heapConnected = 0;
    bool ok = false;
    load += Measure([&] {
        ok = client.Connect() == 0;
        heapConnected = HeapInUse();
        ok = ok && client.Reload(true, AString(), nullptr, CancelCallback(), &progress) == 0;
    });
    heap.modelPerSong = (heapConnected - heapBefore) / static_cast<size_t>(songs);
    heap.recordsPerSong = (HeapInUse() - heapConnected) / static_cast<size_t>(songs);
    return ok && client.GetSongCount() == songs && client.GetPlayListCount() == benchlibrary::kPlaylists;
}

void LoadVersusPlainParse(benchmark::State& state, bool withPlayListSongs) {
    const int songs = static_cast<int>(state.range(0));
    const GeneratedLibrary& library = GeneratedLibrary::Of(songs);
    Times parse;
    Times load;
    Heap heap;
    bool ok = true;
    for (auto _ : state) {
        // Only the loading is timed: each document and list is freed after its clock stopped.
        {
            pugi::xml_document document;
            parse += Measure([&] { ok = document.load_file(library.File().c_str()) && ok; });
        }
        StartApplicationOn(library);
        ok = (withPlayListSongs ? LoadWithPlayListSongs(songs, load, heap) : LoadSongList(songs, load, heap)) && ok;
    }
    if (!ok)
        state.SkipWithError("a load failed");
    const double runs = static_cast<double>(state.iterations());
    Results()[{withPlayListSongs, songs}] = {load.Per(runs), parse.Per(runs)};
    state.counters["parse_cpu_ms"] = parse.cpu / runs * 1e3;
    state.counters["load_cpu_ms"] = load.cpu / runs * 1e3;
    state.counters["load_vs_parse_cpu"] = load.cpu / parse.cpu;
    state.counters["load_vs_parse_wall"] = load.wall / parse.wall;
    state.counters["load_cpu_us_per_song"] = load.cpu / runs / songs * 1e6;
    // The song list's load makes the model and the records at once: its figure holds both.
    if (withPlayListSongs)
        state.counters["app_model_bytes_per_song"] = static_cast<double>(heap.modelPerSong);
    state.counters[withPlayListSongs ? "client_bytes_per_song" : "model_and_list_bytes_per_song"] =
        static_cast<double>(heap.recordsPerSong);
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(12500)->Arg(25000)->Arg(50000)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
}
BENCHMARK_CAPTURE(LoadVersusPlainParse, SongList, false)->Apply(Sizes);
BENCHMARK_CAPTURE(LoadVersusPlainParse, WithPlayListSongs, true)->Apply(Sizes);

// One line each: the load against the parse, and the growth from the smallest size.
void PrintSummary() {
    const auto& results = Results();
    for (const bool withPlayListSongs : {false, true}) {
        const auto first = results.lower_bound({withPlayListSongs, 0});
        if (first == results.end() || first->first.first != withPlayListSongs)
            continue;
        std::printf("%s\n", withPlayListSongs ? "With every playlist's songs:" : "The song list's load (goal):");
        const int smallest = first->first.second;
        for (auto at = first; at != results.end() && at->first.first == withPlayListSongs; ++at) {
            const auto& [key, result] = *at;
            const double ratio = result.load.cpu / result.parse.cpu;
            std::printf("%6d songs: load %.1f ms, parse %.1f ms of CPU (wall %.1f and %.1f ms), "
                        "load/parse %.2f (goal <= %.1f: %s); %.2fx the time of %d songs for %.2fx the "
                        "songs\n",
                        key.second, result.load.cpu * 1e3, result.parse.cpu * 1e3, result.load.wall * 1e3,
                        result.parse.wall * 1e3, ratio, kGoal, ratio <= kGoal ? "met" : "missed",
                        result.load.cpu / first->second.load.cpu, smallest, double(key.second) / smallest);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
