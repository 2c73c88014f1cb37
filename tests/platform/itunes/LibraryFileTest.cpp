#include "platform/itunes/LibraryFile.h"

#include "platform/itunes/FileUrl.h"

#include <gtest/gtest.h>

using namespace itunesapp;

namespace {

constexpr int64_t kSavedAt = 1214913600; // 2008-07-01T12:00:00Z

// A library of one track in its library playlist and in a user playlist that holds it twice.
void MakeSmallLibrary(LibraryHeader& header, MediaModel& model) {
    header.musicFolderUrl = FileUrlFromPath("/home/ann/Music/iTunes/iTunes Music/");
    header.libraryPersistentID = "0123456789ABCDEF";
    TrackRecord track;
    track.id = 2001;
    track.name = "Rock & Roll <Live>";
    track.artist = "Ann";
    track.trackNumber = 3;
    track.totalTimeMs = 215500;
    track.size = 4000000;
    track.modified = kSavedAt;
    track.persistentID = 0xABCDEF0123456789ull;
    track.location = "/home/ann/Music/Vol. 2/Rock & Roll";
    model.InsertTrack(track);
    PlaylistRecord master;
    master.id = 3001;
    master.name = "Library";
    master.master = true;
    master.items = {{2001, 0}};
    model.InsertPlaylist(master);
    PlaylistRecord mix;
    mix.id = 3002;
    mix.persistentID = 0x10;
    mix.name = "Mix";
    mix.items = {{2001, 0}, {2001, 0}};
    model.InsertPlaylist(mix);
    model.Complete(kLibraryPlaylistName);
}

} // namespace

TEST(LibraryFile, WritesEveryKeyWithItsValueOnOneLine) {
    LibraryHeader header;
    MediaModel model;
    MakeSmallLibrary(header, model);
    const std::string expected =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple Computer//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n"
        "<dict>\n"
        "\t<key>Major Version</key><integer>1</integer>\n"
        "\t<key>Minor Version</key><integer>1</integer>\n"
        "\t<key>Date</key><date>2008-07-01T12:00:00Z</date>\n"
        "\t<key>Application Version</key><string>9.2.1</string>\n"
        "\t<key>Features</key><integer>5</integer>\n"
        "\t<key>Show Content Ratings</key><true/>\n"
        "\t<key>Music Folder</key><string>file://localhost/home/ann/Music/iTunes/iTunes%20Music/</string>\n"
        "\t<key>Library Persistent ID</key><string>0123456789ABCDEF</string>\n"
        "\t<key>Tracks</key>\n"
        "\t<dict>\n"
        "\t\t<key>2001</key>\n"
        "\t\t<dict>\n"
        "\t\t\t<key>Track ID</key><integer>2001</integer>\n"
        "\t\t\t<key>Name</key><string>Rock &#38; Roll &#60;Live&#62;</string>\n"
        "\t\t\t<key>Artist</key><string>Ann</string>\n"
        "\t\t\t<key>Size</key><integer>4000000</integer>\n"
        "\t\t\t<key>Total Time</key><integer>215500</integer>\n"
        "\t\t\t<key>Track Number</key><integer>3</integer>\n"
        "\t\t\t<key>Date Modified</key><date>2008-07-01T12:00:00Z</date>\n"
        "\t\t\t<key>Persistent ID</key><string>ABCDEF0123456789</string>\n"
        "\t\t\t<key>Track Type</key><string>File</string>\n"
        "\t\t\t<key>Location</key><string>file://localhost/home/ann/Music/Vol.%202/Rock%20%26%20Roll</"
        "string>\n"
        "\t\t</dict>\n"
        "\t</dict>\n"
        "\t<key>Playlists</key>\n"
        "\t<array>\n"
        "\t\t<dict>\n"
        "\t\t\t<key>Name</key><string>Library</string>\n"
        "\t\t\t<key>Master</key><true/>\n"
        "\t\t\t<key>Playlist ID</key><integer>3001</integer>\n"
        "\t\t\t<key>Playlist Items</key>\n"
        "\t\t\t<array>\n"
        "\t\t\t\t<dict>\n"
        "\t\t\t\t\t<key>Track ID</key><integer>2001</integer>\n"
        "\t\t\t\t</dict>\n"
        "\t\t\t</array>\n"
        "\t\t</dict>\n"
        "\t\t<dict>\n"
        "\t\t\t<key>Name</key><string>Mix</string>\n"
        "\t\t\t<key>Playlist ID</key><integer>3002</integer>\n"
        "\t\t\t<key>Playlist Persistent ID</key><string>0000000000000010</string>\n"
        "\t\t\t<key>Playlist Items</key>\n"
        "\t\t\t<array>\n"
        "\t\t\t\t<dict>\n"
        "\t\t\t\t\t<key>Track ID</key><integer>2001</integer>\n"
        "\t\t\t\t</dict>\n"
        "\t\t\t\t<dict>\n"
        "\t\t\t\t\t<key>Track ID</key><integer>2001</integer>\n"
        "\t\t\t\t</dict>\n"
        "\t\t\t</array>\n"
        "\t\t</dict>\n"
        "\t</array>\n"
        "</dict>\n"
        "</plist>\n";
    EXPECT_EQ(WriteLibraryText(header, model, kSavedAt), expected);
}

TEST(LibraryFile, ReadsBackWhatItWrote) {
    LibraryHeader header;
    MediaModel model;
    MakeSmallLibrary(header, model);
    const std::string written = WriteLibraryText(header, model, kSavedAt);
    std::string text = written;
    LibraryHeader readHeader;
    MediaModel read;
    std::string problem;
    ASSERT_TRUE(ReadLibraryText(text, readHeader, read, problem)) << problem;
    EXPECT_EQ(readHeader.musicFolderUrl, header.musicFolderUrl);
    EXPECT_EQ(readHeader.libraryPersistentID, header.libraryPersistentID);
    ASSERT_NE(read.FindTrack(2001), nullptr);
    EXPECT_EQ(static_cast<const TrackValues&>(*read.FindTrack(2001)),
              static_cast<const TrackValues&>(*model.FindTrack(2001)));
    ASSERT_EQ(read.Playlists().size(), 2u);
    EXPECT_TRUE(read.Playlists()[1].SameValues(model.Playlists()[1]));
    EXPECT_EQ(WriteLibraryText(readHeader, read, kSavedAt), written);
}

TEST(LibraryFile, KeepsWhatItDoesNotReadAndMendsThePlaylists) {
    // Laid out as another writer might: values on lines of their own, keys the stand-in does not know,
    // the master playlist last, an item naming no track, a track the library playlist left out.
    std::string text = R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0">
<dict>
  <key>Major Version</key><integer>1</integer>
  <key>Music Folder</key>
  <string>file:///srv/music/</string>
  <key>Library Persistent ID</key><string>FEDCBA9876543210</string>
  <key>Custom</key><string>kept &amp; sound</string>
  <key>Tracks</key>
  <dict>
    <key>7</key>
    <dict>
      <key>Track ID</key><integer>7</integer>
      <key>Name</key><string> </string>
      <key>Play Date</key><integer>3300000000</integer>
      <key>Play Date UTC</key><date>2008-07-01T12:00:00Z</date>
      <key>Sample Rate</key><integer>44100</integer>
      <key>Track Type</key><string>File</string>
      <key>Location</key><string>file://localhost/srv/music/a%2541.mp3</string>
    </dict>
    <key>8</key>
    <dict>
      <key>Track ID</key><integer>8</integer>
      <key>Track Type</key><string>URL</string>
      <key>Location</key><string>http://radio.example/stream</string>
    </dict>
    <key>0</key>
    <dict><key>Name</key><string>no id</string></dict>
  </dict>
  <key>Playlists</key>
  <array>
    <dict>
      <key>Name</key><string>Smart</string>
      <key>Playlist ID</key><integer>20</integer>
      <key>Smart Info</key>
      <data>
      AQEAAwAAAAIAAAAZ
      AAAAAAAAAAc=
      </data>
      <key>Playlist Items</key>
      <array><dict><key>Track ID</key><integer>7</integer></dict>
      <dict><key>Track ID</key><integer>99</integer></dict></array>
    </dict>
    <dict>
      <key>Name</key><string>Library</string>
      <key>Master</key><true/>
      <key>Playlist ID</key><integer>10</integer>
      <key>Playlist Items</key>
      <array><dict><key>Track ID</key><integer>7</integer></dict></array>
    </dict>
  </array>
</dict>
</plist>
)";
    LibraryHeader header;
    MediaModel model;
    std::string problem;
    ASSERT_TRUE(ReadLibraryText(text, header, model, problem)) << problem;
    EXPECT_EQ(header.musicFolderUrl, "file:///srv/music/");

    ASSERT_EQ(model.Tracks().size(), 2u);
    const TrackRecord& file = *model.FindTrack(7);
    EXPECT_EQ(file.name, " ");
    EXPECT_EQ(file.location, "/srv/music/a%41.mp3");
    EXPECT_EQ(file.played, kSavedAt);
    EXPECT_EQ(model.FindTrack(8)->kind, TrackKind::URL);
    EXPECT_EQ(model.FindTrack(8)->location, "http://radio.example/stream");

    ASSERT_EQ(model.Playlists().size(), 2u);
    const PlaylistRecord& library = model.Main();
    EXPECT_EQ(library.id, 10);
    ASSERT_EQ(library.items.size(), 2u);
    EXPECT_EQ(library.items[0].trackID, 7);
    EXPECT_EQ(library.items[1].trackID, 8);
    const PlaylistRecord& smart = model.Playlists()[1];
    EXPECT_TRUE(smart.IsSmart());
    EXPECT_EQ(smart.items.size(), 1u);

    // Each key stays in its place with its value as read, on one line; the playlists keep their order.
    const std::string written = WriteLibraryText(header, model, kSavedAt);
    for (const char* line :
         {"\t<key>Major Version</key><integer>1</integer>\n\t<key>Date</key><date>2008-07-01T12:00:00Z</date>\n"
          "\t<key>Music Folder</key><string>file:///srv/music/</string>\n\t<key>Library Persistent ID</key>"
          "<string>FEDCBA9876543210</string>\n\t<key>Custom</key><string>kept &#38; sound</string>\n"
          "\t<key>Tracks</key>\n",
          "\t\t\t<key>Name</key><string> </string>\n\t\t\t<key>Play Date</key><integer>3300000000</integer>\n",
          "\t\t\t<key>Sample Rate</key><integer>44100</integer>\n",
          "\t\t\t<key>Location</key><string>file://localhost/srv/music/a%2541.mp3</string>\n",
          "\t\t<key>0</key>\n\t\t<dict>\n\t\t\t<key>Name</key><string>no id</string>\n\t\t</dict>\n",
          "\t\t\t<key>Smart Info</key><data>AQEAAwAAAAIAAAAZAAAAAAAAAAc=</data>\n",
          "\t\t\t\t<dict>\n\t\t\t\t\t<key>Track ID</key><integer>99</integer>\n\t\t\t\t</dict>\n"}) {
        EXPECT_NE(written.find(line), std::string::npos) << line;
    }
    EXPECT_LT(written.find("<string>Smart</string>"), written.find("<string>Library</string>"));
}

TEST(LibraryFile, RefusesTextThatIsNoLibrary) {
    for (std::string text :
         {std::string(), std::string("not xml at all"), std::string("<html><body/></html>"),
          std::string("<plist version=\"1.0\"><dict><key>Tracks</key><dict>"),
          std::string("<plist version=\"1.0\"><dict><key>Tracks</key><array/></dict></plist>")}) {
        LibraryHeader header;
        MediaModel model;
        std::string problem;
        EXPECT_FALSE(ReadLibraryText(text, header, model, problem)) << text;
        EXPECT_FALSE(problem.empty()) << text;
    }
}

TEST(LibraryFile, ShowsDistinguishedPlaylistsAsTheirSpecialKind) {
    struct Case {
        int32_t distinguished;
        bool folder;
        SpecialKind kind;
    };
    for (const Case& c : {Case{0, false, SpecialKind::None}, Case{19, false, SpecialKind::PurchasedMusic},
                          Case{22, false, SpecialKind::PartyShuffle}, Case{10, false, SpecialKind::Podcasts},
                          Case{0, true, SpecialKind::Folder}, Case{4, false, SpecialKind::Music},
                          Case{2, false, SpecialKind::Movies}, Case{3, false, SpecialKind::TVShows},
                          Case{5, false, SpecialKind::Audiobooks}, Case{47, false, SpecialKind::Videos}}) {
        PlaylistRecord playlist;
        playlist.distinguishedKind = c.distinguished;
        playlist.folder = c.folder;
        EXPECT_EQ(playlist.GetSpecialKind(), c.kind) << c.distinguished;
    }
}

TEST(FileUrl, EscapesEveryByteButTheSafeOnesAndDecodesOnce) {
    EXPECT_EQ(FileUrlFromPath("/a b/\xC3\xBC&<%.mp3"), "file://localhost/a%20b/%C3%BC%26%3C%25.mp3");
    struct Case {
        const char* url;
        bool isFile;
        const char* path;
    };
    for (const Case& c : {Case{"file://localhost/a%20b/", true, "/a b/"},
                          Case{"file:///x%2541", true, "/x%41"}, Case{"file:///bad%zz%4", true, "/bad%zz%4"},
                          Case{"file://server/share", false, ""}, Case{"http://localhost/a", false, ""}}) {
        std::string path;
        EXPECT_EQ(PathFromFileUrl(c.url, path), c.isFile) << c.url;
        if (c.isFile) {
            EXPECT_EQ(path, c.path) << c.url;
        }
    }
}
