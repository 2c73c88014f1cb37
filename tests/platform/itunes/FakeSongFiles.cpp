#include "FakeSongFiles.h"

#include "platform/text/TextCodec.h"

#include <fstream>
#include <map>
#include <sstream>

namespace {

constexpr char kMarker[] = "ORVANTIS-FAKE-SONG";
constexpr char kPicture[] = "Picture";

// The file's lines "key=value"; false without the marker line.
bool ReadPairs(const std::string& path, std::multimap<std::string, std::string>& pairs) {
    std::ifstream file(path);
    std::string line;
    if (!std::getline(file, line) || line != kMarker)
        return false;
    while (std::getline(file, line)) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            pairs.emplace(line.substr(0, equals), line.substr(equals + 1));
    }
    return true;
}

std::u16string Text(const std::multimap<std::string, std::string>& pairs, const std::string& key) {
    const auto found = pairs.find(key);
    return found == pairs.end() ? std::u16string() : textcodec::DecodeUtf8(found->second);
}

uint32_t Number(const std::multimap<std::string, std::string>& pairs, const std::string& key) {
    const auto found = pairs.find(key);
    return found == pairs.end() ? 0 : static_cast<uint32_t>(std::stoul(found->second));
}

std::string Utf8(const std::u16string& text) {
    return textcodec::EncodeUtf8(text);
}

} // namespace

void WriteFakeSong(const std::string& path, const FakeSong& song) {
    const itunesapp::SongFields& fields = song.fields;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << kMarker << "\nName=" << Utf8(fields.name) << "\nArtist=" << Utf8(fields.artist)
         << "\nAlbum=" << Utf8(fields.album) << "\nGenre=" << Utf8(fields.genre)
         << "\nComposer=" << Utf8(fields.composer) << "\nComment=" << Utf8(fields.comment)
         << "\nTrack=" << fields.trackNumber << "\nYear=" << fields.year << "\nBitRate=" << fields.bitRate
         << "\nTimeMs=" << fields.totalTimeMs << "\n";
    for (const std::string& picture : song.pictures)
        file << kPicture << "=" << picture << "\n";
}

bool FakeTagReader::ReadTags(const std::string& path, itunesapp::SongFields& fields) {
    ++reads;
    std::multimap<std::string, std::string> pairs;
    if (!ReadPairs(path, pairs))
        return false;
    fields.name = Text(pairs, "Name");
    fields.artist = Text(pairs, "Artist");
    fields.album = Text(pairs, "Album");
    fields.genre = Text(pairs, "Genre");
    fields.composer = Text(pairs, "Composer");
    fields.comment = Text(pairs, "Comment");
    fields.trackNumber = Number(pairs, "Track");
    fields.year = Number(pairs, "Year");
    fields.bitRate = Number(pairs, "BitRate");
    fields.totalTimeMs = Number(pairs, "TimeMs");
    return true;
}

std::vector<std::vector<uint8_t>> FakeTagReader::ReadArtwork(const std::string& path) {
    std::multimap<std::string, std::string> pairs;
    std::vector<std::vector<uint8_t>> pictures;
    if (!ReadPairs(path, pairs))
        return pictures;
    const auto [first, last] = pairs.equal_range(kPicture);
    for (auto picture = first; picture != last; ++picture)
        pictures.emplace_back(picture->second.begin(), picture->second.end());
    return pictures;
}
