// Planning a two-way sync of two folders of 20,000 small song files each, read as song lists (list the
// files, read their tags, sort, decide), against reading the tags of every file of both folders alone
// in the same run (finding the files included). The folders hold the same songs but for 1% (new on
// either side, changed). Reading the tags is the bulk of the work; the plan should stay within 1.5x of
// it. For reference it also reads both folders as song lists alone: what the plan adds to that is the
// sort and the decisions.
//
// The same two folders planned as plain folders (list, sort, decide), against a plain recursive listing
// of both (readdir, and stat of each entry by its path) in the same run: what the lists know of each
// entry must answer the decisions, so the plan should stay within 1.2x of the listing.

#include "library/songlists/ADir.h"
#include "library/songlists/ADirSongDir.h"
#include "library/songlists/TestSongFiles.h"
#include "library/tags/ID3.h"
#include "support/TempDir.h"
#include "sync/ASync.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr int kSongCount = 20000;
constexpr int kDifferenceEvery = 300;
constexpr double kGoalRatio = 1.5;
constexpr double kFolderGoalRatio = 1.2;
// The song's place in each run of kDifferenceEvery songs.
constexpr int kOnlyInOne = 0;
constexpr int kOnlyInTwo = kDifferenceEvery / 3;
constexpr int kChanged = 2 * kDifferenceEvery / 3;

TestSongTags TagsOf(int song, int audioFrames) {
    TestSongTags tags;
    tags.title = "Title " + std::to_string(song);
    tags.artist = "Artist " + std::to_string(song % 400);
    tags.album = "Album " + std::to_string(song % 1500);
    tags.genre = song % 3 ? "Rock" : "Jazz";
    tags.track = std::to_string(song % 14 + 1);
    tags.audioFrames = audioFrames;
    return tags;
}

// Both folders, made once: the same files (bytes and times) but for one song in 300 only in folder one,
// one only in folder two, and one that is longer in folder two.
class SongFolders {
public:
    SongFolders() {
        for (int song = 0; song < kSongCount; ++song) {
            const std::string name =
                "Artist " + std::to_string(song % 400) + "/" + std::to_string(song) + ".mp3";
            const int kind = song % kDifferenceEvery;
            if (kind != kOnlyInTwo)
                Write(m_dir.File("one/" + name), MakeMp3(TagsOf(song, 2)), m_time);
            if (kind == kOnlyInOne)
                continue;
            const bool changed = kind == kChanged;
            Write(m_dir.File("two/" + name), MakeMp3(TagsOf(song, changed ? 3 : 2)),
                  changed ? m_time + std::chrono::hours(2) : m_time);
        }
    }

    AString Root(const char* side) const { return AString(m_dir.File(side).c_str()); }

private:
    void Write(const std::string& path, const std::vector<uint8_t>& bytes,
               std::filesystem::file_time_type time) {
        WriteSongFile(path, bytes);
        std::filesystem::last_write_time(path, time);
    }

    TempDir m_dir;
    std::filesystem::file_time_type m_time = std::filesystem::file_time_type::clock::now();
};

const SongFolders& Folders() {
    static const SongFolders folders;
    return folders;
}

double Seconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

// The peer: every file of both folders found and its tags read, one after the other.
double ReadAllTagsSeconds() {
    const auto start = std::chrono::steady_clock::now();
    for (const char* side : {"one", "two"}) {
        for (const auto& item :
             std::filesystem::recursive_directory_iterator(Folders().Root(side).ToUtf8())) {
            if (!item.is_regular_file())
                continue;
            ID3 tags;
            benchmark::DoNotOptimize(tags.Read(AString(item.path().c_str())));
        }
    }
    return Seconds(std::chrono::steady_clock::now() - start);
}

// For reference: both folders read as lists of that kind without deciding anything (song lists: the
// listing, the tags and the entry texts).
template <class List> double ReadListsSeconds() {
    const auto start = std::chrono::steady_clock::now();
    for (const char* side : {"one", "two"}) {
        List list;
        const AString root = Folders().Root(side);
        benchmark::DoNotOptimize(list.Open(&root, 0, CancelCallback()));
    }
    return Seconds(std::chrono::steady_clock::now() - start);
}

// Both ways, deletes on, each side's folder listed.
std::unique_ptr<ASync> TwoWaySyncOfFolders(std::unique_ptr<ASync> sync) {
    sync->SetDirection(kDirectionBoth);
    sync->SetDeleteMode(1);
    const AString root1 = Folders().Root("one");
    const AString root2 = Folders().Root("two");
    sync->BuildList1(&root1, CancelCallback(), false, false);
    sync->BuildList2(&root2, CancelCallback(), false, false);
    return sync;
}

std::unique_ptr<ASync> SongSync() {
    auto sync = std::make_unique<ASync>();
    sync->SetSideLists(ASync::kSide1, std::make_unique<ADirSongDir>(), std::make_unique<ADirSongDir>());
    sync->SetSideLists(ASync::kSide2, std::make_unique<ADirSongDir>(), std::make_unique<ADirSongDir>());
    return TwoWaySyncOfFolders(std::move(sync));
}

// One action for each song only in one folder or changed.
int ExpectedActions() {
    int expected = 0;
    for (int song = 0; song < kSongCount; ++song) {
        const int kind = song % kDifferenceEvery;
        expected += kind == kOnlyInOne || kind == kOnlyInTwo || kind == kChanged ? 1 : 0;
    }
    return expected;
}

void BM_PlanTwoWaySync(benchmark::State& state) {
    Folders();
    const int expectedActions = ExpectedActions();
    double planSeconds = 0;
    double tagSeconds = 0;
    double listSeconds = 0;
    for (auto _ : state) {
        const auto sync = SongSync();
        const auto start = std::chrono::steady_clock::now();
        const int result = sync->Prepare(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false);
        const double seconds = Seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(seconds);
        planSeconds += seconds;
        if (result != 0 || sync->GetActionCount() != expectedActions) {
            state.SkipWithError("unexpected plan");
            break;
        }
        tagSeconds += ReadAllTagsSeconds();
        listSeconds += ReadListsSeconds<ADirSongDir>();
    }
    const double ratio = planSeconds / tagSeconds;
    state.counters["tags_ms"] = 1000 * tagSeconds / state.iterations();
    state.counters["plan_per_tags"] = ratio;
    state.counters["within_1.5x"] = ratio <= kGoalRatio ? 1 : 0;
    state.counters["lists_ms"] = 1000 * listSeconds / state.iterations();
    state.counters["plan_per_lists"] = planSeconds / listSeconds;
}

// The peer of the plain-folder plan: every name of the tree read and its status asked once by its path,
// kept as a listing would keep it.
struct ListedEntry {
    std::string path;
    bool isDirectory;
    off_t size;
    time_t modTime;
};

void ListTree(const std::string& folder, std::vector<ListedEntry>& entries) {
    DIR* handle = opendir(folder.c_str());
    if (!handle)
        return;
    std::vector<std::string> subfolders;
    while (const dirent* item = readdir(handle)) {
        if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0)
            continue;
        struct stat status {};
        std::string path = folder + "/" + item->d_name;
        if (stat(path.c_str(), &status) != 0)
            continue;
        const bool isDirectory = S_ISDIR(status.st_mode);
        if (isDirectory)
            subfolders.push_back(path);
        entries.push_back({std::move(path), isDirectory, status.st_size, status.st_mtime});
    }
    closedir(handle);
    for (const std::string& subfolder : subfolders)
        ListTree(subfolder, entries);
}

double ListBothSeconds() {
    const auto start = std::chrono::steady_clock::now();
    for (const char* side : {"one", "two"}) {
        std::vector<ListedEntry> entries;
        ListTree(Folders().Root(side).ToUtf8(), entries);
        benchmark::DoNotOptimize(entries.data());
    }
    return Seconds(std::chrono::steady_clock::now() - start);
}

std::unique_ptr<ASync> FolderSync() {
    return TwoWaySyncOfFolders(std::make_unique<ASync>());
}

void BM_PlanTwoWayFolders(benchmark::State& state) {
    Folders();
    ListBothSeconds();
    double planSeconds = 0;
    double listSeconds = 0;
    double folderListSeconds = 0;
    for (auto _ : state) {
        listSeconds += ListBothSeconds();
        folderListSeconds += ReadListsSeconds<ADir>();
        const auto sync = FolderSync();
        const auto start = std::chrono::steady_clock::now();
        const int result = sync->Prepare(CancelCallback(), ASync::kBuildList1 | ASync::kBuildList2, false);
        const double seconds = Seconds(std::chrono::steady_clock::now() - start);
        state.SetIterationTime(seconds);
        planSeconds += seconds;
        if (result != 0 || sync->GetActionCount() != ExpectedActions()) {
            state.SkipWithError("unexpected plan");
            break;
        }
    }
    const double ratio = planSeconds / listSeconds;
    state.counters["listing_ms"] = 1000 * listSeconds / state.iterations();
    state.counters["plan_per_listing"] = ratio;
    state.counters["goal"] = kFolderGoalRatio;
    state.counters["within_1.2x"] = ratio <= kFolderGoalRatio ? 1 : 0;
    state.counters["lists_ms"] = 1000 * folderListSeconds / state.iterations();
}

} // namespace

BENCHMARK(BM_PlanTwoWayFolders)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_PlanTwoWaySync)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
