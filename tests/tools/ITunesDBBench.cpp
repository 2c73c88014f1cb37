// How fast the iPod database reads and writes, beside libgpod on the same file in the same run: one
// database of 20,000 tracks and 50 playlists of 400 items (written by libgpod when it is installed, so
// that it has the headers and string objects a real iPod database has; else built here).
//
// In one process (Google Benchmark): our read, our write of the tree to a file, our whole save (both
// files, synced) and the time to free the tree, beside libgpod's parse (with its free) and write. Then each
// reader runs in fresh processes of its own, as when an iPod is plugged in: read time, free time and peak
// memory, with the ratios. The goal: our fresh-process read at or below libgpod's time and peak memory.
#include "DatabaseBytes.h"
#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/AString.h"
#include "library/ipod/ITunesDB.h"
#include "platform/files/NativeFiles.h"
#include "support/TempDir.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifdef ORVANTIS_WITH_GPOD
#include <gpod/itdb.h>
#endif

namespace {

constexpr int kTracks = 20000;
constexpr int kPlayLists = 50;
constexpr int kItemsPerPlayList = 400;
constexpr int kFreshRuns = 5;
constexpr const char* kFreshReadSwitch = "--fresh-read";

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string TrackText(const char* what, int i, int modulo) {
    return std::string(what) + " " + std::to_string(modulo ? i % modulo : i);
}

std::string TrackLocation(int i) {
    return ":iPod_Control:Music:F" + std::to_string(10 + i % 50) + ":T" + std::to_string(i) + ".mp3";
}

int PlayListTrack(int playList, int item) {
    return (playList * 397 + item * 53) % kTracks;
}

#ifdef ORVANTIS_WITH_GPOD
bool WriteDatabase(const std::string& path) {
    Itdb_iTunesDB* db = itdb_new();
    Itdb_Playlist* master = itdb_playlist_new("Bench iPod", FALSE);
    itdb_playlist_set_mpl(master);
    itdb_playlist_add(db, master, -1);
    std::vector<Itdb_Track*> tracks;
    for (int i = 0; i < kTracks; ++i) {
        Itdb_Track* track = itdb_track_new();
        track->title = g_strdup(TrackText("Title", i, 0).c_str());
        track->artist = g_strdup(TrackText("Artist", i, 400).c_str());
        track->album = g_strdup(TrackText("Album", i, 1500).c_str());
        track->genre = g_strdup(i % 3 ? "Rock" : "Jazz");
        track->composer = g_strdup(TrackText("Composer", i, 700).c_str());
        track->filetype = g_strdup("MPEG audio file");
        track->ipod_path = g_strdup(TrackLocation(i).c_str());
        track->size = 4000000 + static_cast<guint32>(i);
        track->tracklen = 240000;
        track->bitrate = 192;
        track->samplerate = 44100;
        track->year = 1990 + i % 30;
        track->track_nr = 1 + i % 12;
        itdb_track_add(db, track, -1);
        itdb_playlist_add_track(master, track, -1);
        tracks.push_back(track);
    }
    for (int p = 0; p < kPlayLists; ++p) {
        Itdb_Playlist* playList = itdb_playlist_new(TrackText("Playlist", p, 0).c_str(), FALSE);
        itdb_playlist_add(db, playList, -1);
        for (int j = 0; j < kItemsPerPlayList; ++j)
            itdb_playlist_add_track(playList, tracks[PlayListTrack(p, j)], -1);
    }
    const bool written = itdb_write_file(db, path.c_str(), nullptr);
    itdb_free(db);
    return written;
}
#else
std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

bool WriteDatabase(const std::string& path) {
    using namespace dbbytes;
    std::vector<Bytes> tracks;
    std::vector<Bytes> masterItems;
    for (int i = 0; i < kTracks; ++i) {
        TrackFields track;
        track.id = static_cast<uint32_t>(i + 1);
        track.title = Wide(TrackText("Title", i, 0));
        track.artist = Wide(TrackText("Artist", i, 400));
        track.album = Wide(TrackText("Album", i, 1500));
        track.genre = i % 3 ? u"Rock" : u"Jazz";
        track.location = Wide(TrackLocation(i));
        track.fileSize = 4000000 + static_cast<uint32_t>(i);
        tracks.push_back(Track(track));
        masterItems.push_back(Item(track.id, 0, static_cast<uint32_t>(i)));
    }
    std::vector<Bytes> playLists{PlayList(u"Bench iPod", true, masterItems)};
    for (int p = 0; p < kPlayLists; ++p) {
        std::vector<Bytes> items;
        for (int j = 0; j < kItemsPerPlayList; ++j)
            items.push_back(
                Item(static_cast<uint32_t>(PlayListTrack(p, j) + 1), 0, static_cast<uint32_t>(j)));
        playLists.push_back(PlayList(Wide(TrackText("Playlist", p, 0)), false, items));
    }
    const Bytes lists = PlayListList(playLists);
    WriteBytes(path, Database(15, {DataSet(1, TrackList(tracks)), DataSet(3, lists), DataSet(2, lists)}));
    return true;
}
#endif

// An iPod folder holding the database, made once for the whole run.
class BenchDrive {
public:
    static BenchDrive& Instance() {
        static BenchDrive drive;
        return drive;
    }
    AString Root() const { return AString(m_folder.Path()); }
    std::string DatabaseFile() const { return m_folder.File("iPod_Control/iTunes/iTunesDB"); }
    std::string OutputFile() const { return m_folder.File("written.itdb"); }
    bool IsReady() const { return m_ready; }

private:
    BenchDrive() {
        nativefiles::MakeDirectory(m_folder.File("iPod_Control"));
        nativefiles::MakeDirectory(m_folder.File("iPod_Control/iTunes"));
        m_ready = WriteDatabase(DatabaseFile());
    }
    TempDir m_folder;
    bool m_ready = false;
};

int ReadOurs(ITunesDB& db, const AString& root) {
    const int result = db.ReadLibrary(&root, true, nullptr, nullptr);
    return result == 0 && db.GetSongCount() != kTracks ? -1 : result;
}

int WriteTreeToFile(ITunesDB& db, const std::string& path) {
    AMemFile tree;
    if (const int result = db.GetRoot().Write(tree))
        return result;
    AFile file;
    if (const int result = file.Open(AString(path), AFile::kModeWrite, false))
        return result;
    if (const int result = file.SetLength(0))
        return result;
    if (const int result = file.Write(tree.GetBuffer(), tree.GetSize()))
        return result;
    return file.Close(true);
}

void OursRead(benchmark::State& state) {
    const AString root = BenchDrive::Instance().Root();
    for (auto _ : state) {
        auto db = std::make_unique<ITunesDB>();
        if (ReadOurs(*db, root) != 0)
            state.SkipWithError("reading failed");
        state.PauseTiming();
        db.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(OursRead)->Unit(benchmark::kMillisecond);

void OursFree(benchmark::State& state) {
    const AString root = BenchDrive::Instance().Root();
    for (auto _ : state) {
        state.PauseTiming();
        auto db = std::make_unique<ITunesDB>();
        if (ReadOurs(*db, root) != 0)
            state.SkipWithError("reading failed");
        state.ResumeTiming();
        db.reset();
    }
}
BENCHMARK(OursFree)->Unit(benchmark::kMillisecond);

void OursWrite(benchmark::State& state) {
    const AString root = BenchDrive::Instance().Root();
    ITunesDB db;
    if (ReadOurs(db, root) != 0)
        state.SkipWithError("reading failed");
    for (auto _ : state) {
        if (WriteTreeToFile(db, BenchDrive::Instance().OutputFile()) != 0)
            state.SkipWithError("writing failed");
    }
}
BENCHMARK(OursWrite)->Unit(benchmark::kMillisecond);

// The whole save onto another drive: both files written, synced and put in place.
void OursSave(benchmark::State& state) {
    const AString root = BenchDrive::Instance().Root();
    ITunesDB db;
    if (ReadOurs(db, root) != 0)
        state.SkipWithError("reading failed");
    TempDir other;
    nativefiles::MakeDirectory(other.File("iPod_Control"));
    nativefiles::MakeDirectory(other.File("iPod_Control/iTunes"));
    const AString otherRoot(other.Path());
    for (auto _ : state) {
        if (db.Save(&otherRoot) != 0)
            state.SkipWithError("saving failed");
    }
}
BENCHMARK(OursSave)->Unit(benchmark::kMillisecond);

#ifdef ORVANTIS_WITH_GPOD
void GpodRead(benchmark::State& state) {
    const std::string file = BenchDrive::Instance().DatabaseFile();
    for (auto _ : state) {
        Itdb_iTunesDB* db = itdb_parse_file(file.c_str(), nullptr);
        if (!db)
            state.SkipWithError("libgpod could not parse the database");
        itdb_free(db);
    }
}
BENCHMARK(GpodRead)->Unit(benchmark::kMillisecond);

void GpodWrite(benchmark::State& state) {
    Itdb_iTunesDB* db = itdb_parse_file(BenchDrive::Instance().DatabaseFile().c_str(), nullptr);
    if (!db) {
        state.SkipWithError("libgpod could not parse the database");
        return;
    }
    for (auto _ : state) {
        if (!itdb_write_file(db, BenchDrive::Instance().OutputFile().c_str(), nullptr))
            state.SkipWithError("libgpod could not write the database");
    }
    itdb_free(db);
}
BENCHMARK(GpodWrite)->Unit(benchmark::kMillisecond);
#endif

// Keeps each benchmark's time for the ratios while the console shows them.
class TimeKeepingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (!run.error_occurred)
                milliseconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }
    std::map<std::string, double> milliseconds;
};

// One read in a process of its own, as the child measured it.
struct FreshRead {
    double readMs = 0;
    double freeMs = 0;
    double peakMiB = 0;
};

// The peak resident memory of this process image (a fork's pages before its exec do not count).
double PeakMiB() {
    FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    double kib = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmHWM: %lf kB", &kib) == 1)
            break;
    }
    std::fclose(status);
    return kib / 1024;
}

// The child: reads once, frees, and prints both times and its peak memory.
int RunFreshRead(const std::string& reader, const std::string& root) {
    const Clock::time_point start = Clock::now();
    double readMs = 0;
    double freeMs = 0;
    if (reader == "ours") {
        auto db = std::make_unique<ITunesDB>();
        if (ReadOurs(*db, AString(root)) != 0)
            return 1;
        readMs = MillisecondsSince(start);
        const Clock::time_point freeing = Clock::now();
        db.reset();
        freeMs = MillisecondsSince(freeing);
    }
#ifdef ORVANTIS_WITH_GPOD
    else if (reader == "gpod") {
        Itdb_iTunesDB* db = itdb_parse_file((root + "/iPod_Control/iTunes/iTunesDB").c_str(), nullptr);
        if (!db)
            return 1;
        readMs = MillisecondsSince(start);
        const Clock::time_point freeing = Clock::now();
        itdb_free(db);
        freeMs = MillisecondsSince(freeing);
    }
#endif
    else {
        return 2;
    }
    std::printf("%f %f %f\n", readMs, freeMs, PeakMiB());
    return 0;
}

bool SpawnFreshRead(const std::string& reader, FreshRead& out) {
    int channel[2];
    if (pipe(channel) != 0)
        return false;
    const std::string root = BenchDrive::Instance().Root().ToUtf8();
    const pid_t child = fork();
    if (child == 0) {
        dup2(channel[1], STDOUT_FILENO);
        close(channel[0]);
        close(channel[1]);
        execl("/proc/self/exe", "itunesdb_bench", kFreshReadSwitch, reader.c_str(), root.c_str(), nullptr);
        _exit(127);
    }
    close(channel[1]);
    char answer[128] = {};
    const ssize_t got = child > 0 ? read(channel[0], answer, sizeof answer - 1) : -1;
    close(channel[0]);
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        got <= 0)
        return false;
    return std::sscanf(answer, "%lf %lf %lf", &out.readMs, &out.freeMs, &out.peakMiB) == 3;
}

// The median of several fresh runs, each value on its own.
bool MeasureFreshRead(const std::string& reader, FreshRead& out) {
    std::vector<double> reads, frees, peaks;
    for (int run = 0; run < kFreshRuns; ++run) {
        FreshRead one;
        if (!SpawnFreshRead(reader, one))
            return false;
        reads.push_back(one.readMs);
        frees.push_back(one.freeMs);
        peaks.push_back(one.peakMiB);
    }
    const auto median = [](std::vector<double>& values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    out = {median(reads), median(frees), median(peaks)};
    return true;
}

void PrintInProcessRatios(const std::map<std::string, double>& milliseconds) {
    const auto time = [&milliseconds](const char* name) {
        const auto found = milliseconds.find(name);
        return found == milliseconds.end() ? 0.0 : found->second;
    };
    if (time("OursRead") <= 0 || time("OursWrite") <= 0 || time("GpodRead") <= 0 || time("GpodWrite") <= 0) {
        std::printf("libgpod timings not available: no in-process ratios\n");
        return;
    }
    std::printf("in one process, ours / libgpod: read and free %.2f, write %.2f (below 1: ours is faster)\n",
                (time("OursRead") + time("OursFree")) / time("GpodRead"),
                time("OursWrite") / time("GpodWrite"));
}

void PrintFreshRead(const char* label, const FreshRead& read) {
    std::printf("fresh process, %-8s read %8.1f ms, free %6.1f ms, peak %6.1f MiB\n", label, read.readMs,
                read.freeMs, read.peakMiB);
}

void PrintFreshReads() {
    FreshRead ours;
    if (!MeasureFreshRead("ours", ours)) {
        std::printf("fresh-process read failed\n");
        return;
    }
    PrintFreshRead("ours:", ours);
    FreshRead gpod;
    if (!MeasureFreshRead("gpod", gpod)) {
        std::printf("libgpod not available: no fresh-process ratios\n");
        return;
    }
    PrintFreshRead("libgpod:", gpod);
    std::printf("fresh process, ours / libgpod: read %.2f, read and free %.2f, peak memory %.2f "
                "(goal: read and peak memory 1 or below)\n",
                ours.readMs / gpod.readMs, (ours.readMs + ours.freeMs) / (gpod.readMs + gpod.freeMs),
                ours.peakMiB / gpod.peakMiB);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], kFreshReadSwitch) == 0)
        return RunFreshRead(argv[2], argv[3]);
    benchmark::Initialize(&argc, argv);
    if (!BenchDrive::Instance().IsReady()) {
        std::fprintf(stderr, "the benchmark database could not be written\n");
        return 1;
    }
    std::printf(
        "database: %llu bytes\n",
        static_cast<unsigned long long>(nativefiles::GetStatus(BenchDrive::Instance().DatabaseFile()).size));
    TimeKeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintInProcessRatios(reporter.milliseconds);
    PrintFreshReads();
    return 0;
}
