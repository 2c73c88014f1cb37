// Reading the tags (title, artist, album, genre, year, track, duration) of one folder of 5,000 small
// generated mp3 and m4a files: one thread, warm cache. A song-list scan of a large library is bound
// by this rate.

#include "library/tags/ID3.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kFileCount = 5000;
constexpr int kFrameLength = 417; // MPEG-1 Layer III, 128 kbit/s, 44100 Hz
constexpr int kFrameCount = 8;

std::string BE32(uint32_t v) {
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string Synchsafe(uint32_t v) {
    return {char((v >> 21) & 0x7F), char((v >> 14) & 0x7F), char((v >> 7) & 0x7F), char(v & 0x7F)};
}

void AppendTextFrame(std::string& body, const char* id, const std::string& text) {
    body += id + BE32(uint32_t(text.size() + 1)) + std::string(2, '\0') + '\0' + text;
}

std::string Mp3File(int n) {
    std::string body;
    AppendTextFrame(body, "TIT2", "Title " + std::to_string(n));
    AppendTextFrame(body, "TPE1", "Artist " + std::to_string(n % 400));
    AppendTextFrame(body, "TALB", "Album " + std::to_string(n % 1500));
    AppendTextFrame(body, "TCON", n % 3 ? "Rock" : "Jazz");
    AppendTextFrame(body, "TYER", std::to_string(1960 + n % 60));
    AppendTextFrame(body, "TRCK", std::to_string(n % 14 + 1));
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

class GeneratedFolder {
public:
    GeneratedFolder() {
        char pattern[] = "/tmp/orvantis-tags-bench-XXXXXX";
        m_path = mkdtemp(pattern);
        for (int i = 0; i < kFileCount; ++i) {
            const bool mp3 = i % 2 == 0;
            const std::string path = m_path + "/" + std::to_string(i) + (mp3 ? ".mp3" : ".m4a");
            const std::string bytes = mp3 ? Mp3File(i) : M4aFile(i);
            std::FILE* out = std::fopen(path.c_str(), "wb");
            std::fwrite(bytes.data(), 1, bytes.size(), out);
            std::fclose(out);
            m_files.push_back(path);
        }
    }
    ~GeneratedFolder() { std::filesystem::remove_all(m_path); }
    const std::vector<std::string>& Files() const { return m_files; }

private:
    std::string m_path;
    std::vector<std::string> m_files;
};

const GeneratedFolder& Folder() {
    static GeneratedFolder folder;
    return folder;
}

void BM_OurReader(benchmark::State& state) {
    const auto& files = Folder().Files();
    uint64_t sum = 0;
    for (auto _ : state) {
        for (const std::string& path : files) {
            ID3 tags;
            if (tags.Read(AString(path.c_str())) != 0)
                state.SkipWithError("read failed");
            AString title, artist, album, genre;
            tags.GetTitle(title);
            tags.GetArtist(artist);
            tags.GetAlbum(album);
            tags.GetGenre(genre);
            sum += title.GetLength() + artist.GetLength() + album.GetLength() + genre.GetLength() +
                   tags.GetYear() + tags.GetTrackNumber() + tags.GetDuration();
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(files.size()));
}
BENCHMARK(BM_OurReader)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
