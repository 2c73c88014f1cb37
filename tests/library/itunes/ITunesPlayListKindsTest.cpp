#include "library/itunes/ITunes.h"
#include "library/itunes/ITunesPlayList.h"
#include "library/itunes/TunesLibraryFixture.h"
#include "support/AStringPrinting.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// A playlist of the library file: its name and the keys that make it one of the kinds the application
// keeps itself.
std::string PlayListXml(int id, const std::string& name, const std::string& keys) {
    return "\t\t<dict>\n\t\t\t<key>Name</key><string>" + name + "</string>\n\t\t\t<key>Playlist ID</key><integer>" +
           std::to_string(id) + "</integer>\n" + keys + "\t\t</dict>\n";
}

std::string Distinguished(int number) {
    return "\t\t\t<key>Distinguished Kind</key><integer>" + std::to_string(number) + "</integer>\n";
}

const std::string kSmart = "\t\t\t<key>Smart Info</key><data>AQ==</data>\n";

class ITunesPlayListKinds : public TunesLibraryFixture {};

// The kind word decides what a sync may change: smart lists and the kinds from Podcasts on are
// read-only.
TEST_F(ITunesPlayListKinds, EachKindOfPlayListGetsItsKindWordAndAccess) {
    struct Case {
        const char* name;
        std::string keys;
        uint32_t kind;
        ITunesPlayList::Access access;
    };
    const Case cases[] = {
        {"Plain", "", ITunesPlayList::kUser, ITunesPlayList::kReadWrite},
        {"Smart", kSmart, ITunesPlayList::kSmart, ITunesPlayList::kReadOnly},
        {"Purchased", Distinguished(19), 2, ITunesPlayList::kReadWrite},
        {"Party Shuffle", Distinguished(22), 3, ITunesPlayList::kReadWrite},
        {"Podcasts", Distinguished(10), 4, ITunesPlayList::kReadOnly},
        {"Folder", "\t\t\t<key>Folder</key><true/>\n", 5, ITunesPlayList::kReadOnly},
        {"Music", Distinguished(4) + kSmart, 7, ITunesPlayList::kReadOnly},
        {"Audiobooks", Distinguished(5), 10, ITunesPlayList::kReadOnly},
    };
    std::string playLists = PlayListXml(100, "Library", "\t\t\t<key>Master</key><true/>\n");
    int id = 101;
    for (const Case& entry : cases)
        playLists += PlayListXml(id++, entry.name, entry.keys);
    WriteLibraryText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
                     "\t<key>Tracks</key>\n\t<dict>\n\t</dict>\n\t<key>Playlists</key>\n\t<array>\n" +
                     playLists + "\t</array>\n</dict>\n</plist>\n");

    ITunes client;
    ASSERT_EQ(client.LoadPlayLists(false), 0);
    ASSERT_EQ(client.GetPlayListCount(), static_cast<int>(std::size(cases)));
    for (int i = 0; i < client.GetPlayListCount(); ++i) {
        ITunesPlayList& playList = *client.GetPlayList(i);
        AString name;
        playList.GetName(name, 0);
        EXPECT_EQ(name, cases[i].name);
        EXPECT_EQ(playList.GetKind(), cases[i].kind) << cases[i].name;
        EXPECT_EQ(ITunesPlayList::AccessOf(playList.GetKind()), cases[i].access) << cases[i].name;
        EXPECT_EQ(playList.GetID(), 101 + i);
    }
}

} // namespace
