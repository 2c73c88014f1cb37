#include "harness/FakePod.h"

#include "library/ipod/DatabaseBytes.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>

using namespace dbbytes;

namespace {

constexpr uint32_t kVersion = 15;

std::u16string Digits(int number) {
    const std::string text = std::to_string(number);
    return std::u16string(text.begin(), text.end());
}

} // namespace

std::vector<uint8_t> FakePodDatabase(const FakePodContent& content) {
    std::vector<Bytes> tracks;
    std::vector<Bytes> items;
    for (int i = 0; i < content.tracks; ++i) {
        TrackFields track;
        track.id = static_cast<uint32_t>(i + 1);
        track.title = u"Song " + Digits(i);
        track.artist = u"Artist " + Digits(i % 97);
        track.album = u"Album " + Digits(i % 131);
        track.genre = u"Rock";
        track.location = u":iPod_Control:Music:F" + Digits(i % 20) + u":S" + Digits(i) + u".mp3";
        track.fileSize = 4000000;
        tracks.push_back(Track(track));
        items.push_back(Item(track.id, static_cast<uint32_t>(i + 2), static_cast<uint32_t>(i)));
    }
    std::vector<Bytes> playLists = {PlayList(content.name, true, items)};
    for (const std::u16string& name : content.playLists)
        playLists.push_back(PlayList(name, false, {}));
    const Bytes list = PlayListList(playLists);
    return Database(kVersion, {DataSet(1, TrackList(tracks)), DataSet(3, list), DataSet(2, list)});
}

void WriteFakePod(const std::string& root, const FakePodContent& content) {
    std::filesystem::create_directories(root + "/iPod_Control/iTunes");
    std::filesystem::create_directories(root + "/iPod_Control/Device");
    WriteBytes(root + "/iPod_Control/iTunes/iTunesDB", FakePodDatabase(content));
    if (!content.modelNumber.empty())
        WriteText(root + "/iPod_Control/Device/SysInfo", "ModelNumStr: " + content.modelNumber + "\r\n");
    if (content.prefs)
        WriteBytes(root + "/iPod_Control/iTunes/iTunesPrefs", std::vector<uint8_t>(64, 0xFF));
}
