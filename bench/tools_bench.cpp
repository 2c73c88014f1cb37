// The library tools on a generated song folder of 5,000, 10,000 and 20,000 songs: the duplicate scan
// (every twentieth song is a second copy of the one before it) and the disconnected-files scan (one
// file in twenty is not in the list), each timed in the same run beside two listings of the same
// folder: a bare one (std::filesystem, names only) and the plain folder list (ADir) that the
// disconnected-files scan reads the folder with, which also reads every file's date. The
// disconnected-files scan should stay within twice a listing, and its time per song should not grow
// with the number of songs.

#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirSongDir.h"
#include "library/tools/HeadlessToolActionPresenter.h"
#include "library/tools/LibraryTools.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kCopyEvery = 20;
constexpr int kLooseEvery = 20;
constexpr int kSongsPerAlbum = 10;
constexpr int kAlbumsPerBand = 5;
constexpr int kAudioFrames = 2;
constexpr int kFrameLength = 417; // MPEG-1 Layer III, 128 kbit/s, 44100 Hz

// An ID3v2.3 text frame: id, size, flags, Latin-1 text.
std::string TextFrame(const char* id, const std::string& text) {
    const uint32_t size = static_cast<uint32_t>(text.size() + 1);
    std::string frame = id;
    for (int shift = 24; shift >= 0; shift -= 8)
        frame += static_cast<char>((size >> shift) & 0xFF);
    frame += std::string(3, '\0');
    return frame + text;
}

std::string SongBytes(int song) {
    const int album = song / kSongsPerAlbum;
    const std::string body = TextFrame("TIT2", "Song " + std::to_string(song)) +
                             TextFrame("TPE1", "Band " + std::to_string(album / kAlbumsPerBand)) +
                             TextFrame("TALB", "Record " + std::to_string(album)) + TextFrame("TCON", "Rock");
    std::string file = std::string("ID3\3\0\0", 6);
    for (int shift = 21; shift >= 0; shift -= 7)
        file += static_cast<char>((body.size() >> shift) & 0x7F);
    file += body;
    for (int frame = 0; frame < kAudioFrames; ++frame)
        file += std::string("\xFF\xFB\x90", 3) + std::string(kFrameLength - 3, '\0');
    return file;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A music folder with its song list as read, saved once; the loose files come after the reading.
class MusicFolder {
public:
    explicit MusicFolder(int songs) {
        char pattern[] = "/tmp/orvantis-tools-bench-XXXXXX";
        m_path = mkdtemp(pattern);
        for (int i = 0; i < songs; ++i) {
            const int song = i % kCopyEvery == 1 ? i - 1 : i;
            WriteFile(FolderOf(i) + "/" + std::to_string(i) + ".mp3", SongBytes(song));
        }
        ADirSongDir list;
        const AString root(m_path.c_str());
        if (list.Open(&root, 0, CancelCallback()) != 0 || list.GetCount() != songs)
            std::abort();
        list.Save(m_record, 0);
        for (int i = 0; i < songs / kLooseEvery; ++i)
            WriteFile(FolderOf(i * kLooseEvery) + "/loose " + std::to_string(i) + ".mp3",
                      SongBytes(songs + i));
    }
    ~MusicFolder() { std::filesystem::remove_all(m_path); }

    void Load(ADirSongDir& list) const {
        AMemFile reader(m_record.GetBuffer(), m_record.GetSize());
        list.Load(reader, 0);
    }

    // The bare listing: every file of the tree, by path.
    size_t List() const {
        std::vector<std::string> files;
        for (const auto& item : std::filesystem::recursive_directory_iterator(m_path)) {
            if (item.is_regular_file())
                files.push_back(item.path().string());
        }
        return files.size();
    }

    // The plain folder list of the song types, as the disconnected-files scan reads it.
    int ListPlain() const {
        ADir list;
        list.SetFlags(SongFilter::kKeepListed);
        list.SetTypeList(AString(":mp3:m4p:m4a:m4b:aac:m4v:mp4:ipg:"));
        const AString root(m_path.c_str());
        list.Open(&root, 1, CancelCallback());
        return list.GetCount();
    }

    static MusicFolder& Of(int songs) {
        static std::map<int, std::unique_ptr<MusicFolder>> folders;
        auto& folder = folders[songs];
        if (!folder)
            folder = std::make_unique<MusicFolder>(songs);
        return *folder;
    }

private:
    // Ten songs to an album folder, five albums to a band, as a library files them.
    std::string FolderOf(int i) const {
        const int album = i / kSongsPerAlbum;
        return m_path + "/Band " + std::to_string(album / kAlbumsPerBand) + "/Record " +
               std::to_string(album);
    }

    std::string m_path;
    AMemFile m_record;
};

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The tool and the listing take turns, so both meet the same state of the page cache.
void RunToolVersusListing(benchmark::State& state, const std::function<int(ADirSongDir&)>& tool,
                          size_t expectedRows) {
    const int songs = static_cast<int>(state.range(0));
    const MusicFolder& folder = MusicFolder::Of(songs);
    HeadlessToolActionPresenter presenter; // shows the list and confirms nothing
    ADirSong::SetToolActionPresenter(&presenter);
    LibraryTools::Install();
    double toolSeconds = 0;
    double listingSeconds = 0;
    double folderListSeconds = 0;
    for (auto _ : state) {
        ADirSongDir list;
        folder.Load(list);
        int result = 0;
        const double seconds = Seconds([&] { result = tool(list); });
        state.SetIterationTime(seconds);
        toolSeconds += seconds;
        if (result != kUserCancel || list.GetToolActions().size() != expectedRows)
            state.SkipWithError("the tool did not find what it should");
        listingSeconds += Seconds([&] { benchmark::DoNotOptimize(folder.List()); });
        folderListSeconds += Seconds([&] { benchmark::DoNotOptimize(folder.ListPlain()); });
    }
    ADirSong::SetToolActionPresenter(nullptr);
    const double runs = static_cast<double>(state.iterations());
    state.counters["tool_ms"] = toolSeconds / runs * 1e3;
    state.counters["listing_ms"] = listingSeconds / runs * 1e3;
    state.counters["folder_list_ms"] = folderListSeconds / runs * 1e3;
    state.counters["tool_vs_listing"] = toolSeconds / listingSeconds;
    state.counters["tool_vs_folder_list"] = toolSeconds / folderListSeconds;
    state.counters["tool_us_per_song"] = toolSeconds / runs / songs * 1e6;
    state.SetComplexityN(songs);
}

void BM_DisconnectedFilesVersusListing(benchmark::State& state) {
    const int songs = static_cast<int>(state.range(0));
    RunToolVersusListing(
        state, [](ADirSongDir& list) { return list.ScanDisconnectedFiles(0, CancelCallback(), 1); },
        songs / kLooseEvery);
}

void BM_DuplicatesVersusListing(benchmark::State& state) {
    const int songs = static_cast<int>(state.range(0));
    RunToolVersusListing(
        state, [](ADirSongDir& list) { return list.RemoveDuplicates(CancelCallback(), 1); },
        2 * (songs / kCopyEvery));
}

void SongCounts(benchmark::internal::Benchmark* run) {
    run->Arg(5000)->Arg(10000)->Arg(20000);
    run->Iterations(3)->Unit(benchmark::kMillisecond)->UseManualTime()->Complexity();
}

} // namespace

BENCHMARK(BM_DisconnectedFilesVersusListing)->Apply(SongCounts);
BENCHMARK(BM_DuplicatesVersusListing)->Apply(SongCounts);

BENCHMARK_MAIN();
