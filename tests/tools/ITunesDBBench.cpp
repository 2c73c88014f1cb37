// How fast the iPod database reads and writes: one generated database of 20,000 tracks and 50 playlists,
// read in library mode with its playlists and written back. With libgpod installed, libgpod parses and
// writes the same file in the same run, and the ratios are printed at the end (the goal: read plus write
// at least twice as fast as libgpod's).
#include "DatabaseBytes.h"
#include "foundation/AFile.h"
#include "foundation/AMemFile.h"
#include "foundation/AString.h"
#include "library/ipod/ITunesDB.h"
#include "platform/files/NativeFiles.h"
#include "support/TempDir.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#ifdef ORVANTIS_WITH_GPOD
#include <gpod/itdb.h>
#endif

namespace {

constexpr int kTracks = 20000;
constexpr int kPlayLists = 50;
constexpr int kItemsPerPlayList = 400;

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

dbbytes::Bytes GeneratedDatabase() {
    using namespace dbbytes;
    std::vector<Bytes> tracks;
    std::vector<Bytes> masterItems;
    for (int i = 0; i < kTracks; ++i) {
        TrackFields track;
        track.id = static_cast<uint32_t>(i + 1);
        track.title = Wide("Title " + std::to_string(i));
        track.artist = Wide("Artist " + std::to_string(i % 400));
        track.album = Wide("Album " + std::to_string(i % 1500));
        track.genre = i % 3 ? u"Rock" : u"Jazz";
        track.location =
            Wide(":iPod_Control:Music:F" + std::to_string(10 + i % 50) + ":T" + std::to_string(i) + ".mp3");
        track.fileSize = 4000000 + static_cast<uint32_t>(i);
        tracks.push_back(Track(track));
        masterItems.push_back(Item(track.id, 0));
    }
    std::vector<Bytes> playLists{PlayList(u"Bench iPod", true, masterItems)};
    for (int p = 0; p < kPlayLists; ++p) {
        std::vector<Bytes> items;
        for (int j = 0; j < kItemsPerPlayList; ++j)
            items.push_back(Item(static_cast<uint32_t>((p * 397 + j * 53) % kTracks + 1), 0));
        playLists.push_back(PlayList(Wide("Playlist " + std::to_string(p)), false, items));
    }
    const Bytes lists = PlayListList(playLists);
    return Database(15, {DataSet(1, TrackList(tracks)), DataSet(3, lists), DataSet(2, lists)});
}

// An iPod folder holding the generated database, made once for the whole run.
class BenchDrive {
public:
    static BenchDrive& Instance() {
        static BenchDrive drive;
        return drive;
    }
    AString Root() const { return AString(m_folder.Path()); }
    std::string DatabaseFile() const { return m_folder.File("iPod_Control/iTunes/iTunesDB"); }
    std::string OutputFile() const { return m_folder.File("written.itdb"); }

private:
    BenchDrive() {
        nativefiles::MakeDirectory(m_folder.File("iPod_Control"));
        nativefiles::MakeDirectory(m_folder.File("iPod_Control/iTunes"));
        WriteBytes(DatabaseFile(), GeneratedDatabase());
    }
    TempDir m_folder;
};

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
        ITunesDB db;
        if (db.ReadLibrary(&root, true, nullptr, nullptr) != 0 || db.GetSongCount() != kTracks)
            state.SkipWithError("reading failed");
    }
}
BENCHMARK(OursRead)->Unit(benchmark::kMillisecond);

void OursWrite(benchmark::State& state) {
    const AString root = BenchDrive::Instance().Root();
    ITunesDB db;
    if (db.ReadLibrary(&root, true, nullptr, nullptr) != 0)
        state.SkipWithError("reading failed");
    for (auto _ : state) {
        if (WriteTreeToFile(db, BenchDrive::Instance().OutputFile()) != 0)
            state.SkipWithError("writing failed");
    }
}
BENCHMARK(OursWrite)->Unit(benchmark::kMillisecond);

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

// Prints as the console does and keeps each benchmark's time for the ratios.
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

void PrintRatios(const std::map<std::string, double>& milliseconds) {
    const auto time = [&milliseconds](const char* name) {
        const auto found = milliseconds.find(name);
        return found == milliseconds.end() ? 0.0 : found->second;
    };
    const double ours = time("OursRead") + time("OursWrite");
    const double gpod = time("GpodRead") + time("GpodWrite");
    if (ours <= 0 || gpod <= 0 || time("OursRead") <= 0 || time("OursWrite") <= 0) {
        std::printf("libgpod timings not available: no ratios\n");
        return;
    }
    std::printf("libgpod / ours: read %.2f, write %.2f, read plus write %.2f (goal: 2 or more)\n",
                time("GpodRead") / time("OursRead"), time("GpodWrite") / time("OursWrite"), gpod / ours);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TimeKeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintRatios(reporter.milliseconds);
    return 0;
}
