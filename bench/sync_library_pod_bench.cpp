// Two song-sync benchmarks of the library against an iPod read from its own files.
//
// Planning "Make iPod equal to iTunes" for 20,000 songs a side: the music application's library against
// an iPod read from its own files, holding the same songs but for 1% (songs the iPod lacks, songs only
// the iPod has); every song has its file on both sides. The plan is the song sync's whole road without
// performing: the checks before an iPod sync, building each side's list, the duplicate scan and the
// decisions. Each step's time is reported, with the floor in the same run: parsing the library file
// (pugixml), reading the iPod's database (our reader) and asking the size and time of every file of both
// sides, which the decisions compare. Goal: the plan within 3x the floor.
//
// Copying a library of 2,000 songs onto an empty iPod: the song sync's whole road, performed until the
// database is written, against `cp` of the same files followed by `sync`, in the same run, for song files
// of 256 KiB and of 1 MiB. Goal: within 1.5x. The sync flushes the volume and saves the database after
// every 50 songs, which costs the same whatever the songs' size: small files make it weigh most.

#include "FakePodDrive.h"
#include "GeneratedLibrary.h"
#include "foundation/AProgress.h"
#include "foundation/FileOps.h"
#include "library/ipod/ITunesDB.h"
#include "library/itunes/LibraryPlayListName.h"
#include "library/songlists/ADirTunes.h"
#include "platform/itunes/ITunesInstance.h"
#include "platform/itunes/LibraryFile.h"
#include "platform/itunes/MediaModel.h"
#include "sync/ASyncLib.h"
#include "sync/HeadlessActionPresenter.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <pugixml.hpp>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kSongs = 20000;
constexpr int kDifferenceEvery = 100;
// A song of the library that the iPod lacks, and one song of the iPod's own, in every hundred.
constexpr int kMissingOnPod = 0;
constexpr int kOnlyOnPod = kDifferenceEvery / 2;
constexpr double kGoalRatio = 3.0;
constexpr int kPrefsSize = 32;

double Seconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

double SecondsFor(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return Seconds(std::chrono::steady_clock::now() - start);
}

// Every song's file on both sides has the size and time of its track; the files are sparse.
void WriteSongFile(const fs::path& file, const itunesapp::TrackRecord& track) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary).flush();
    fs::resize_file(file, track.size);
    SetFileModTime(AString(file.c_str()), UnixToMacTime(track.modified), false);
}

PodSongInfo PodSongOf(const itunesapp::TrackRecord& track, int number) {
    PodSongInfo song;
    song.title = song.displayName = AString(track.name.c_str());
    song.artist = AString(track.artist.c_str());
    song.album = AString(track.album.c_str());
    song.genre = AString(track.genre.c_str());
    song.trackNumber = track.trackNumber;
    song.year = track.year;
    song.bitRate = track.bitRate;
    song.duration = track.totalTimeMs / 1000;
    song.fileSize = static_cast<uint32_t>(track.size);
    song.modTime = UnixToMacTime(track.modified);
    song.extension = "mp3";
    song.path = AString(
        ("iPod_Control/Music/F" + std::to_string(10 + number % 40) + "/T" + std::to_string(number) + ".mp3")
            .c_str());
    return song;
}

// Both sides, made once in one folder: the library file of the music application with a file for
// each song, and the iPod with its database, a file for each track and manual-update preferences.
class LibraryAndPod {
public:
    LibraryAndPod()
        : m_folder((fs::temp_directory_path() / ("sync-bench-" + std::to_string(getpid()))).string()) {
        fs::remove_all(m_folder);
        WriteLibrary();
        WritePod();
    }
    ~LibraryAndPod() { fs::remove_all(m_folder); }

    // The music application's folder of the user.
    std::string MusicFolder() const { return m_folder + "/Music"; }
    std::string LibraryFile() const { return MusicFolder() + "/iTunes/iTunes Music Library.xml"; }
    std::string PodRoot() const { return m_folder + "/pod"; }
    bool Ok() const { return m_ok; }

private:
    static itunesapp::TrackRecord TrackOf(int i, const std::string& songs) {
        itunesapp::TrackRecord track = benchlibrary::GeneratedTrack(i);
        track.location = songs + "/" + track.artist + "/" + std::to_string(i) + ".mp3";
        return track;
    }

    void WriteLibrary() {
        const std::string songs = MusicFolder() + "/iTunes/iTunes Music";
        itunesapp::MediaModel model;
        for (int i = 0; i < kSongs; ++i) {
            if (i % kDifferenceEvery == kOnlyOnPod)
                continue;
            itunesapp::TrackRecord track = TrackOf(i, songs);
            WriteSongFile(track.location, track);
            model.InsertTrack(std::move(track));
        }
        model.Complete(itunesapp::kLibraryPlaylistName);
        itunesapp::LibraryHeader header;
        header.musicFolderUrl = "file://localhost" + songs + "/";
        header.libraryPersistentID = "0123456789ABCDEF";
        std::ofstream(LibraryFile(), std::ios::binary)
            << itunesapp::WriteLibraryText(header, model, benchlibrary::kFirstDate);
    }

    // The database is saved as the iPod's song list saves it: read first, then added to.
    void WritePod() {
        const std::string root = PodRoot();
        const AString drive(root.c_str());
        ITunesDB db;
        m_ok = benchpod::WriteDatabase(root, 0) && db.ReadLibrary(&drive, true, nullptr, nullptr) == 0;
        std::ofstream(root + "/iPod_Control/iTunes/iTunesPrefs", std::ios::binary)
            << std::string(kPrefsSize, '\0');
        for (int i = 0; i < kSongs && m_ok; ++i) {
            if (i % kDifferenceEvery == kMissingOnPod)
                continue;
            const itunesapp::TrackRecord track = TrackOf(i, root);
            const PodSongInfo song = PodSongOf(track, i);
            WriteSongFile(root + "/" + song.path.ToUtf8(), track);
            m_ok = db.AddTrack(song, nullptr, true) == 0;
        }
        m_ok = m_ok && db.Save(&drive) == 0;
    }

    std::string m_folder;
    bool m_ok = true;
};

struct StepTimes {
    double checks = 0;
    double library = 0;
    double pod = 0;
    double duplicates = 0;
    double whole = 0;
};

// The song sync with a clock on each of its steps; what the whole leaves is the decisions.
class TimedSync : public ASyncLib {
public:
    TimedSync(AProgress* progress, StepTimes& times)
        : ASyncLib(ADir::kTypeTunes, ADir::kTypePodDB, progress), m_times(times) {}

    int CheckBeforeSync(int stage) override {
        int result = 0;
        m_times.checks += SecondsFor([&] { result = ASyncLib::CheckBeforeSync(stage); });
        return result;
    }
    int BuildList1(const AString* root, const CancelCallback& cancel, bool rebuild, bool lock) override {
        int result = 0;
        m_times.library += SecondsFor([&] { result = ASyncLib::BuildList1(root, cancel, rebuild, lock); });
        return result;
    }
    int BuildList2(const AString* root, const CancelCallback& cancel, bool rebuild, bool lock) override {
        int result = 0;
        m_times.pod += SecondsFor([&] { result = ASyncLib::BuildList2(root, cancel, rebuild, lock); });
        return result;
    }
    int ScanDuplicates(const CancelCallback& cancel) override {
        int result = 0;
        m_times.duplicates += SecondsFor([&] { result = ASyncLib::ScanDuplicates(cancel); });
        return result;
    }

private:
    StepTimes& m_times;
};

void StartApplicationOn(const LibraryAndPod& sides) {
    setenv("XDG_MUSIC_DIR", sides.MusicFolder().c_str(), 1);
    itunesapp::ITunesInstance::Install({});
}

// The floor: both sides' files read by the plainest means, and every song file's size and time asked.
bool ReadBothSidesAlone(const LibraryAndPod& sides) {
    pugi::xml_document document;
    ITunesDB db;
    const AString podRoot(sides.PodRoot().c_str());
    bool ok = document.load_file(sides.LibraryFile().c_str()) &&
              db.ReadLibrary(&podRoot, true, nullptr, nullptr) == 0;
    int files = 0;
    for (const std::string& folder : {sides.MusicFolder(), sides.PodRoot()}) {
        for (const auto& item : fs::recursive_directory_iterator(folder)) {
            if (item.path().extension() != ".mp3")
                continue;
            FileInfo info;
            GetFileInfo(AString(item.path().c_str()), info);
            files += info.exists ? 1 : 0;
        }
    }
    constexpr int kFilesPerSide = kSongs - kSongs / kDifferenceEvery;
    return ok && files == 2 * kFilesPerSide;
}

void BM_PlanLibraryToPod20000(benchmark::State& state) {
    static const LibraryAndPod sides;
    SetLibraryPlayListName(AString(kLibraryPlayListName));
    const AString libraryRoot(ADirTunes::kRootMarker);
    const AString podRoot(sides.PodRoot().c_str());
    constexpr int kExpectedActions = 2 * kSongs / kDifferenceEvery;
    StepTimes times;
    double floor = 0;
    bool ok = sides.Ok();
    for (auto _ : state) {
        StartApplicationOn(sides);
        AProgress progress;
        StepTimes run;
        TimedSync sync(&progress, run);
        sync.SetDirection(kDirection1To2);
        sync.SetDeleteMode(1);
        sync.BuildList1(&libraryRoot, CancelCallback(), false, false);
        sync.BuildList2(&podRoot, CancelCallback(), false, false);
        // Giving the sides their roots is no step of the road.
        run = StepTimes();
        run.whole = SecondsFor([&] {
            ok = sync.Prepare(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false) == 0 && ok;
        });
        ok = sync.GetActionCount() == kExpectedActions && ok;
        times.checks += run.checks;
        times.library += run.library;
        times.pod += run.pod;
        times.duplicates += run.duplicates;
        times.whole += run.whole;
        floor += SecondsFor([&] { ok = ReadBothSidesAlone(sides) && ok; });
    }
    if (!ok)
        state.SkipWithError("the plan failed or decided other actions");
    const double runs = static_cast<double>(state.iterations());
    const double decide = times.whole - times.checks - times.library - times.pod - times.duplicates;
    state.counters["checks_ms"] = 1e3 * times.checks / runs;
    state.counters["library_list_ms"] = 1e3 * times.library / runs;
    state.counters["pod_list_ms"] = 1e3 * times.pod / runs;
    state.counters["duplicates_ms"] = 1e3 * times.duplicates / runs;
    state.counters["decide_ms"] = 1e3 * decide / runs;
    state.counters["plan_ms"] = 1e3 * times.whole / runs;
    state.counters["floor_ms"] = 1e3 * floor / runs;
    state.counters["plan_per_floor"] = times.whole / floor;
    state.counters["within_3x"] = times.whole / floor <= kGoalRatio ? 1 : 0;
}
BENCHMARK(BM_PlanLibraryToPod20000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- Copying 2,000 songs onto an empty iPod ----

constexpr int kCopiedSongs = 2000;
constexpr double kCopyGoalRatio = 1.5;
// MPEG-1 layer III, 128 kbit/s, 44.1 kHz: 417-byte frames.
constexpr uint8_t kFrameHeader[] = {0xFF, 0xFB, 0x90, 0x44};
constexpr size_t kFrameBytes = 417;

void AppendTextFrame(std::string& tag, const char* id, const std::string& text) {
    const uint32_t size = static_cast<uint32_t>(text.size() + 1);
    tag += id;
    for (const int shift : {24, 16, 8, 0})
        tag += static_cast<char>(size >> shift);
    tag += std::string(2, '\0');
    tag += '\0'; // Latin-1
    tag += text;
}

// An ID3v2.3 tag with the track's names before whole MPEG frames of silence.
std::string SongFileBytes(const itunesapp::TrackRecord& track, size_t songBytes) {
    std::string frames;
    AppendTextFrame(frames, "TIT2", track.name);
    AppendTextFrame(frames, "TPE1", track.artist);
    AppendTextFrame(frames, "TALB", track.album);
    AppendTextFrame(frames, "TCON", track.genre);
    std::string bytes = "ID3";
    bytes += '\3';
    bytes += '\0';
    bytes += '\0';
    for (const int shift : {21, 14, 7, 0})
        bytes += static_cast<char>((frames.size() >> shift) & 0x7F);
    bytes += frames;
    while (bytes.size() + kFrameBytes <= songBytes) {
        bytes.append(reinterpret_cast<const char*>(kFrameHeader), sizeof kFrameHeader);
        bytes.append(kFrameBytes - sizeof kFrameHeader, '\0');
    }
    return bytes;
}

// The library with a real song file for each song, and a place for an empty iPod and for `cp`.
class LibraryToCopy {
public:
    explicit LibraryToCopy(size_t songBytes)
        : m_folder((fs::temp_directory_path() / ("copy-bench-" + std::to_string(getpid()))).string()) {
        fs::remove_all(m_folder);
        itunesapp::MediaModel model;
        for (int i = 0; i < kCopiedSongs; ++i) {
            itunesapp::TrackRecord track = benchlibrary::GeneratedTrack(i);
            track.location = Songs() + "/" + std::to_string(i % 40) + "/" + std::to_string(i) + ".mp3";
            const std::string bytes = SongFileBytes(track, songBytes);
            track.size = bytes.size();
            benchpod::WriteFile(track.location, bytes);
            SetFileModTime(AString(track.location.c_str()), UnixToMacTime(track.modified), false);
            model.InsertTrack(std::move(track));
        }
        model.Complete(itunesapp::kLibraryPlaylistName);
        itunesapp::LibraryHeader header;
        header.musicFolderUrl = "file://localhost" + Songs() + "/";
        header.libraryPersistentID = "0123456789ABCDEF";
        std::ofstream(MusicFolder() + "/iTunes/iTunes Music Library.xml", std::ios::binary)
            << itunesapp::WriteLibraryText(header, model, benchlibrary::kFirstDate);
    }
    ~LibraryToCopy() { fs::remove_all(m_folder); }

    std::string MusicFolder() const { return m_folder + "/Music"; }
    std::string Songs() const { return MusicFolder() + "/iTunes/iTunes Music"; }
    std::string PodRoot() const { return m_folder + "/pod"; }
    std::string CopyFolder() const { return m_folder + "/cp"; }

    // An iPod with an empty database and manual-update preferences.
    bool MakeEmptyPod() const {
        fs::remove_all(PodRoot());
        fs::create_directories(PodRoot() + "/iPod_Control/Music");
        const bool written = benchpod::WriteDatabase(PodRoot(), 0);
        std::ofstream(PodRoot() + "/iPod_Control/iTunes/iTunesPrefs", std::ios::binary)
            << std::string(kPrefsSize, '\0');
        return written;
    }

private:
    std::string m_folder;
};

bool RunCommand(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// Everything written before is on the disk: neither side pays for the other's writes.
void SettleDisk() {
    RunCommand("sync");
}

// The argument is the size of each song file in KiB.
void BM_CopyLibraryToEmptyPod2000(benchmark::State& state) {
    const LibraryToCopy library(static_cast<size_t>(state.range(0)) * 1024);
    SetLibraryPlayListName(AString(kLibraryPlayListName));
    setenv("XDG_MUSIC_DIR", library.MusicFolder().c_str(), 1);
    const AString libraryRoot(ADirTunes::kRootMarker);
    const AString podRoot(library.PodRoot().c_str());
    HeadlessActionPresenter confirming([](ASync&, const SyncActionTexts&) { return true; });
    double ours = 0;
    double peer = 0;
    bool ok = true;
    for (auto _ : state) {
        ok = library.MakeEmptyPod() && ok;
        itunesapp::ITunesInstance::Install({});
        AProgress progress;
        ASyncLib sync(ADir::kTypeTunes, ADir::kTypePodDB, &progress);
        sync.SetDirection(kDirection1To2);
        sync.SetPresenter(&confirming);
        sync.BuildList1(&libraryRoot, CancelCallback(), false, false);
        sync.BuildList2(&podRoot, CancelCallback(), false, false);
        SettleDisk();
        ours += SecondsFor([&] {
            ok = sync.Sync(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false) == 0 && ok;
        });
        ITunesDB db;
        ok = db.ReadLibrary(&podRoot, true, nullptr, nullptr) == 0 && db.GetSongCount() == kCopiedSongs && ok;

        fs::remove_all(library.CopyFolder());
        SettleDisk();
        peer += SecondsFor([&] {
            ok = RunCommand("cp -r '" + library.Songs() + "' '" + library.CopyFolder() + "' && sync") && ok;
        });
        fs::remove_all(library.CopyFolder());
        fs::remove_all(library.PodRoot());
    }
    if (!ok)
        state.SkipWithError("the copy failed or the iPod does not hold every song");
    const double runs = static_cast<double>(state.iterations());
    state.counters["sync_ms"] = 1e3 * ours / runs;
    state.counters["cp_and_sync_ms"] = 1e3 * peer / runs;
    state.counters["sync_per_cp"] = ours / peer;
    state.counters["goal_ratio"] = kCopyGoalRatio;
    state.counters["within_goal"] = ours / peer <= kCopyGoalRatio ? 1 : 0;
}
BENCHMARK(BM_CopyLibraryToEmptyPod2000)
    ->Arg(256)
    ->Arg(1024)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
