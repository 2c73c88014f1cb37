#include "library/songlists/TestSongFiles.h"

#include "support/TempDir.h"

#include <filesystem>

namespace {

// MPEG-1 Layer III, 128 kbit/s, 44100 Hz, no padding: 417 bytes a frame.
constexpr uint8_t kFrameHeader[] = {0xFF, 0xFB, 0x90, 0x00};
constexpr size_t kFrameLength = 417;

void AppendBE32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void AppendText(std::vector<uint8_t>& out, const std::string& text) {
    out.insert(out.end(), text.begin(), text.end());
}

void AppendFrame(std::vector<uint8_t>& body, const char* id, const std::string& text) {
    if (text.empty())
        return;
    AppendText(body, id);
    AppendBE32(body, static_cast<uint32_t>(text.size() + 1));
    body.push_back(0);
    body.push_back(0);
    body.push_back(0); // Latin-1
    AppendText(body, text);
}

std::vector<uint8_t> AudioFrames(int count) {
    std::vector<uint8_t> audio;
    for (int i = 0; i < count; ++i) {
        audio.insert(audio.end(), std::begin(kFrameHeader), std::end(kFrameHeader));
        audio.resize(audio.size() + kFrameLength - sizeof kFrameHeader, static_cast<uint8_t>(i + 1));
    }
    return audio;
}

std::vector<uint8_t> Atom(const char* type, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> atom;
    AppendBE32(atom, static_cast<uint32_t>(body.size() + 8));
    AppendText(atom, type);
    atom.insert(atom.end(), body.begin(), body.end());
    return atom;
}

std::vector<uint8_t> TextItem(const char* type, const std::string& text) {
    std::vector<uint8_t> data;
    AppendBE32(data, 1); // UTF-8
    AppendBE32(data, 0);
    AppendText(data, text);
    return Atom(type, Atom("data", data));
}

std::vector<uint8_t> ByteItem(const char* type, uint8_t value) {
    std::vector<uint8_t> data;
    AppendBE32(data, 21); // integer
    AppendBE32(data, 0);
    data.push_back(value);
    return Atom(type, Atom("data", data));
}

} // namespace

TestSongTags SongTags(const char* genre, const char* artist, const char* album, const char* title,
                      const char* track) {
    TestSongTags tags;
    tags.genre = genre;
    tags.artist = artist;
    tags.album = album;
    tags.title = title;
    tags.track = track;
    return tags;
}

std::vector<uint8_t> MakeMp3(const TestSongTags& tags) {
    std::vector<uint8_t> body;
    AppendFrame(body, "TIT2", tags.title);
    AppendFrame(body, "TPE1", tags.artist);
    AppendFrame(body, "TALB", tags.album);
    AppendFrame(body, "TCON", tags.genre);
    AppendFrame(body, "TRCK", tags.track);
    AppendFrame(body, "TPOS", tags.disc);
    std::vector<uint8_t> file = {'I', 'D', '3', 3, 0, 0};
    const uint32_t size = static_cast<uint32_t>(body.size());
    for (int shift = 21; shift >= 0; shift -= 7)
        file.push_back(static_cast<uint8_t>((size >> shift) & 0x7F));
    file.insert(file.end(), body.begin(), body.end());
    const std::vector<uint8_t> audio = AudioFrames(tags.audioFrames);
    file.insert(file.end(), audio.begin(), audio.end());
    return file;
}

std::vector<uint8_t> MakeUntaggedMp3(int audioFrames) {
    return AudioFrames(audioFrames);
}

std::vector<uint8_t> MakeMp4(const TestSongTags& tags, int audioBytes) {
    std::vector<uint8_t> items;
    auto add = [&items](const char* type, const std::string& text) {
        if (text.empty())
            return;
        const std::vector<uint8_t> item = TextItem(type, text);
        items.insert(items.end(), item.begin(), item.end());
    };
    add("\xA9nam", tags.title);
    add("\xA9"
        "ART",
        tags.artist);
    add("\xA9"
        "alb",
        tags.album);
    add("\xA9gen", tags.genre);
    add("apID", tags.account);
    add("tvsh", tags.tvShow);
    auto addByte = [&items](const char* type, uint8_t value) {
        const std::vector<uint8_t> item = ByteItem(type, value);
        items.insert(items.end(), item.begin(), item.end());
    };
    if (tags.mediaKind >= 0)
        addByte("stik", static_cast<uint8_t>(tags.mediaKind));
    if (tags.podcast)
        addByte("pcst", 1);
    std::vector<uint8_t> meta = {0, 0, 0, 0};
    const std::vector<uint8_t> ilst = Atom("ilst", items);
    meta.insert(meta.end(), ilst.begin(), ilst.end());
    std::vector<uint8_t> file = Atom("ftyp", {'M', '4', 'A', ' ', 0, 0, 0, 0, 'M', '4', 'A', ' '});
    const std::vector<uint8_t> moov = Atom("moov", Atom("udta", Atom("meta", meta)));
    file.insert(file.end(), moov.begin(), moov.end());
    const std::vector<uint8_t> mdat = Atom("mdat", std::vector<uint8_t>(audioBytes, 0x55));
    file.insert(file.end(), mdat.begin(), mdat.end());
    return file;
}

void WriteSongFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteBytes(path, bytes);
}

void WriteTextFile(const std::string& path, const std::string& text) {
    WriteSongFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}
