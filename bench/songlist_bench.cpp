// How a song folder list scales: reading a generated folder of small tagged mp3 files (tags and entry
// texts), sorting it, building the entry texts alone, and the quick duplicate scan, for 5,000, 10,000
// and 20,000 files. Reading the tags should dominate; the other steps grow as n log n.

#include "foundation/AMemFile.h"
#include "library/songlists/ADirSongDir.h"
#include "library/tags/ID3.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kFrameLength = 417; // MPEG-1 Layer III, 128 kbit/s, 44100 Hz
constexpr int kDuplicateEvery = 20;

void AppendFrame(std::string& body, const char* id, const std::string& text) {
    const uint32_t size = static_cast<uint32_t>(text.size() + 1);
    body += id;
    for (int shift = 24; shift >= 0; shift -= 8)
        body += static_cast<char>(size >> shift);
    body += std::string(3, '\0');
    body += text;
}

std::string SongFile(int number) {
    // Every twentieth song is a second copy of the song before it.
    const int song = number % kDuplicateEvery == 1 ? number - 1 : number;
    std::string body;
    AppendFrame(body, "TIT2", "Title " + std::to_string(song));
    AppendFrame(body, "TPE1", "Artist " + std::to_string(song % 400));
    AppendFrame(body, "TALB", "Album " + std::to_string(song % 1500));
    AppendFrame(body, "TCON", song % 3 ? "Rock" : "Jazz");
    AppendFrame(body, "TRCK", std::to_string(song % 14 + 1));
    std::string file = "ID3";
    file += '\3';
    file += std::string(2, '\0');
    for (int shift = 21; shift >= 0; shift -= 7)
        file += static_cast<char>((body.size() >> shift) & 0x7F);
    file += body;
    for (int frame = 0; frame < 2; ++frame) {
        file += "\xFF\xFB\x90";
        file += std::string(kFrameLength - 3, '\0');
    }
    return file;
}

// One generated folder per size, made once and removed at exit.
class GeneratedFolder {
public:
    explicit GeneratedFolder(int count) {
        char pattern[] = "/tmp/orvantis-bench-XXXXXX";
        m_path = mkdtemp(pattern);
        for (int i = 0; i < count; ++i) {
            const std::string folder =
                m_path + "/Artist " + std::to_string(i % 400) + "/Album " + std::to_string(i % 1500);
            std::filesystem::create_directories(folder);
            std::FILE* out = std::fopen((folder + "/" + std::to_string(i) + ".mp3").c_str(), "wb");
            const std::string bytes = SongFile(i);
            std::fwrite(bytes.data(), 1, bytes.size(), out);
            std::fclose(out);
        }
    }
    ~GeneratedFolder() { std::filesystem::remove_all(m_path); }
    AString Root() const { return AString(m_path.c_str()); }

private:
    std::string m_path;
};

GeneratedFolder& FolderOf(int count) {
    static std::map<int, std::unique_ptr<GeneratedFolder>> folders;
    auto& folder = folders[count];
    if (!folder)
        folder = std::make_unique<GeneratedFolder>(count);
    return *folder;
}

// The list as read, saved once, so that each step starts from the same unsorted list.
const AMemFile& SavedListOf(int count) {
    static std::map<int, std::unique_ptr<AMemFile>> saved;
    auto& record = saved[count];
    if (!record) {
        ADirSongDir list;
        const AString root = FolderOf(count).Root();
        list.Open(&root, 0, CancelCallback());
        record = std::make_unique<AMemFile>();
        list.Save(*record, 0);
    }
    return *record;
}

void LoadList(ADirSongDir& list, int count) {
    const AMemFile& record = SavedListOf(count);
    AMemFile reader(record.GetBuffer(), record.GetSize());
    list.Load(reader, 0);
}

void BM_ReadFolder(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const AString root = FolderOf(count).Root();
    for (auto _ : state) {
        ADirSongDir list;
        if (list.Open(&root, 0, CancelCallback()) != 0 || list.GetCount() != count)
            state.SkipWithError("the folder did not read");
    }
    state.SetComplexityN(count);
}

void BM_Sort(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        ADirSongDir list;
        LoadList(list, count);
        state.ResumeTiming();
        list.Sort(1);
    }
    state.SetComplexityN(count);
}

void BM_EntryTexts(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    ADirSongDir list;
    LoadList(list, count);
    std::vector<ID3> tags(count);
    for (int i = 0; i < count; ++i) {
        AString path;
        list.GetFullPath(*list.GetEntry(i), path, 1);
        tags[i].Read(path);
    }
    for (auto _ : state) {
        for (const ID3& song : tags)
            benchmark::DoNotOptimize(list.BuildSongEntry(song));
    }
    state.SetComplexityN(count);
}

void BM_DuplicateScan(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        ADirSongDir list;
        LoadList(list, count);
        list.Sort(1);
        state.ResumeTiming();
        list.FindDuplicates(0, 0, 1, CancelCallback(), 0);
        if (list.GetCount() != count - count / kDuplicateEvery)
            state.SkipWithError("unexpected number of duplicates");
    }
    state.SetComplexityN(count);
}

} // namespace

BENCHMARK(BM_ReadFolder)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2)
    ->Complexity();
BENCHMARK(BM_Sort)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);
BENCHMARK(BM_EntryTexts)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);
BENCHMARK(BM_DuplicateScan)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oNLogN);

BENCHMARK_MAIN();
