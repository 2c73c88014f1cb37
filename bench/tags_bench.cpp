// Reading the tags (title, artist, album, genre, year, track, duration) of a folder of generated song
// files: one thread, warm cache. A song-list scan of a large library is bound by this rate. Two folders:
// 5,000 small mp3 and m4a files, and 1,000 mp3 files with 100 KB of cover art in the tag. In each
// iteration three readers take turns over the same folder, so that all three meet the same machine
// state: our reader, TagLib (the same fields, with its fast audio properties for the duration), and the
// floor that any reader pays: opening each file, reading its first 64 KiB and its last 128 bytes,
// closing it. Goals: a higher rate than TagLib's, and at most 2 times the floor's time.

#include "library/tags/ID3.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFileCount = 5000;
constexpr int kCoverArtFileCount = 1000;
constexpr size_t kCoverArtLength = 100 * 1000;
constexpr int kFrameLength = 417; // MPEG-1 Layer III, 128 kbit/s, 44100 Hz
constexpr int kFrameCount = 8;
constexpr size_t kFloorHead = 64 * 1024;
constexpr off_t kFloorTail = 128;
constexpr double kFloorGoal = 2.0;

std::string BE32(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Synchsafe(uint32_t v) {
    return {char((v >> 21) & 0x7F), char((v >> 14) & 0x7F), char((v >> 7) & 0x7F), char(v & 0x7F)};
}

void AppendTextFrame(std::string& body, const char* id, const std::string& text) {
    body += id + BE32(uint32_t(text.size() + 1)) + std::string(2, '\0') + '\0' + text;
}

std::string CoverArtFrame() {
    const std::string image = std::string("\xFF\xD8\xFF\xE0", 4) + std::string(kCoverArtLength - 4, '\x42');
    const std::string content = std::string("\0image/jpeg\0\3\0", 14) + image;
    return "APIC" + BE32(uint32_t(content.size())) + std::string(2, '\0') + content;
}

std::string Mp3File(int n, bool withCoverArt) {
    std::string body;
    AppendTextFrame(body, "TIT2", "Title " + std::to_string(n));
    AppendTextFrame(body, "TPE1", "Artist " + std::to_string(n % 400));
    AppendTextFrame(body, "TALB", "Album " + std::to_string(n % 1500));
    AppendTextFrame(body, "TCON", n % 3 ? "Rock" : "Jazz");
    AppendTextFrame(body, "TYER", std::to_string(1960 + n % 60));
    AppendTextFrame(body, "TRCK", std::to_string(n % 14 + 1));
    if (withCoverArt)
        body += CoverArtFrame();
    body += std::string(256, '\0'); // padding
    std::string file = std::string("ID3\3\0\0", 6) + Synchsafe(uint32_t(body.size())) + body;
    for (int i = 0; i < kFrameCount; ++i)
        file += std::string("\xFF\xFB\x90\x00", 4) + std::string(kFrameLength - 4, '\x55');
    return file;
}

std::string Atom(const std::string& type, const std::string& body) {
    return BE32(uint32_t(body.size() + 8)) + type + body;
}

std::string DataItem(const std::string& type, uint32_t dataType, const std::string& value) {
    return Atom(type, Atom("data", BE32(dataType) + BE32(0) + value));
}

std::string M4aFile(int n) {
    const uint32_t timescale = 44100;
    const uint32_t length = timescale * (100 + n % 200);
    const std::string mvhd = Atom("mvhd", std::string(4, '\0') + BE32(0) + BE32(0) + BE32(timescale) +
                                              BE32(length) + std::string(80, '\0'));
    const std::string mdhd = Atom("mdhd", std::string(4, '\0') + BE32(0) + BE32(0) + BE32(timescale) +
                                              BE32(length) + std::string(4, '\0'));
    const std::string hdlr = Atom("hdlr", std::string(8, '\0') + "soun" + std::string(13, '\0'));
    const std::string trak = Atom("trak", Atom("mdia", mdhd + hdlr));
    const std::string items = DataItem("\xA9nam", 1, "Title " + std::to_string(n)) +
                              DataItem("\xA9"
                                       "ART",
                                       1, "Artist " + std::to_string(n % 400)) +
                              DataItem("\xA9"
                                       "alb",
                                       1, "Album " + std::to_string(n % 1500)) +
                              DataItem("\xA9gen", 1, n % 3 ? "Rock" : "Jazz") +
                              DataItem("\xA9"
                                       "day",
                                       1, std::to_string(1960 + n % 60)) +
                              DataItem("trkn", 0, BE32(uint32_t(n % 14 + 1)) + BE32(14 << 16));
    const std::string meta =
        Atom("meta", std::string(4, '\0') +
                         Atom("hdlr", std::string(8, '\0') + "mdirappl" + std::string(9, '\0')) +
                         Atom("ilst", items));
    return Atom("ftyp", "M4A " + BE32(0) + "M4A mp42isom") + Atom("moov", mvhd + trak + Atom("udta", meta)) +
           Atom("mdat", std::string(3000, '\x11'));
}

struct Song {
    std::string name;
    std::string bytes;
};

class GeneratedFolder {
public:
    GeneratedFolder(int count, const std::function<Song(int)>& make) {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/orvantis-tags-bench-XXXXXX";
        m_path = mkdtemp(pattern.data());
        for (int i = 0; i < count; ++i) {
            const Song song = make(i);
            const std::string path = m_path + "/" + song.name;
            std::FILE* out = std::fopen(path.c_str(), "wb");
            std::fwrite(song.bytes.data(), 1, song.bytes.size(), out);
            std::fclose(out);
            m_files.push_back(path);
            m_texts.emplace_back(path);
        }
    }
    ~GeneratedFolder() { std::filesystem::remove_all(m_path); }
    const std::vector<std::string>& Files() const { return m_files; }
    // The same paths as the song lists hold them.
    const std::vector<AString>& Texts() const { return m_texts; }

private:
    std::string m_path;
    std::vector<std::string> m_files;
    std::vector<AString> m_texts;
};

const GeneratedFolder& SmallSongs() {
    static const GeneratedFolder folder(kFileCount, [](int i) {
        const bool mp3 = i % 2 == 0;
        return Song{std::to_string(i) + (mp3 ? ".mp3" : ".m4a"), mp3 ? Mp3File(i, false) : M4aFile(i)};
    });
    return folder;
}

const GeneratedFolder& SongsWithCoverArt() {
    static const GeneratedFolder folder(kCoverArtFileCount, [](int i) {
        return Song{std::to_string(i) + ".mp3", Mp3File(i, true)};
    });
    return folder;
}

// Each reader adds what it read into the sum, so that no work can be left out; false on a failure.
bool ReadWithOurs(const GeneratedFolder& folder, uint64_t& sum) {
    for (const AString& path : folder.Texts()) {
        ID3 tags;
        if (tags.Read(path) != 0)
            return false;
        AString title, artist, album, genre;
        tags.GetTitle(title);
        tags.GetArtist(artist);
        tags.GetAlbum(album);
        tags.GetGenre(genre);
        sum += title.GetLength() + artist.GetLength() + album.GetLength() + genre.GetLength() +
               tags.GetYear() + tags.GetTrackNumber() + tags.GetDuration();
    }
    return true;
}

bool ReadWithTagLib(const GeneratedFolder& folder, uint64_t& sum) {
    for (const std::string& path : folder.Files()) {
        const TagLib::FileRef file(path.c_str(), true, TagLib::AudioProperties::Fast);
        const TagLib::Tag* tag = file.tag();
        if (!tag || !file.audioProperties())
            return false;
        sum += tag->title().size() + tag->artist().size() + tag->album().size() + tag->genre().size() +
               tag->year() + tag->track() + file.audioProperties()->lengthInSeconds();
    }
    return true;
}

bool ReadTheFloor(const GeneratedFolder& folder, uint64_t& sum) {
    static std::vector<char> buffer(kFloorHead);
    for (const std::string& path : folder.Files()) {
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        const ssize_t head = read(fd, buffer.data(), kFloorHead);
        const bool tailRead =
            lseek(fd, -kFloorTail, SEEK_END) >= 0 && read(fd, buffer.data(), kFloorTail) == kFloorTail;
        close(fd);
        if (head <= 0 || !tailRead)
            return false;
        sum += static_cast<uint64_t>(head) + static_cast<unsigned char>(buffer[0]);
    }
    return true;
}

using Reader = bool (*)(const GeneratedFolder&, uint64_t&);

double SecondsFor(Reader reader, const GeneratedFolder& folder, uint64_t& sum, bool& ok) {
    const auto start = std::chrono::steady_clock::now();
    ok = reader(folder, sum) && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Totals {
    double ours = 0;
    double tagLib = 0;
    double floor = 0;
};
std::map<std::string, Totals> g_totals;

void ReadVersusTagLibAndFloor(benchmark::State& state, const char* name, const GeneratedFolder& folder) {
    Totals totals;
    uint64_t sum = 0;
    bool ok = true;
    for (auto _ : state) {
        totals.ours += SecondsFor(ReadWithOurs, folder, sum, ok);
        totals.tagLib += SecondsFor(ReadWithTagLib, folder, sum, ok);
        totals.floor += SecondsFor(ReadTheFloor, folder, sum, ok);
    }
    benchmark::DoNotOptimize(sum);
    if (!ok)
        state.SkipWithError("a read failed");
    const double files = double(folder.Files().size()) * double(state.iterations());
    state.counters["ours_files_per_s"] = files / totals.ours;
    state.counters["taglib_files_per_s"] = files / totals.tagLib;
    state.counters["floor_files_per_s"] = files / totals.floor;
    state.counters["ours_rate_vs_taglib"] = totals.tagLib / totals.ours;
    state.counters["ours_time_vs_floor"] = totals.ours / totals.floor;
    g_totals[name] = totals;
}

void BM_SmallSongs(benchmark::State& state) {
    ReadVersusTagLibAndFloor(state, "small songs", SmallSongs());
}
BENCHMARK(BM_SmallSongs)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

void BM_SongsWithCoverArt(benchmark::State& state) {
    ReadVersusTagLibAndFloor(state, "songs with cover art", SongsWithCoverArt());
}
BENCHMARK(BM_SongsWithCoverArt)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

void PrintRatios() {
    for (const auto& [name, totals] : g_totals) {
        if (totals.ours <= 0 || totals.floor <= 0)
            continue;
        std::printf("%s: our rate / TagLib's rate: %.2f (goal: above 1); our time / the floor's time: %.2f "
                    "(goal: %.1f or less)\n",
                    name.c_str(), totals.tagLib / totals.ours, totals.ours / totals.floor, kFloorGoal);
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintRatios();
    return 0;
}
