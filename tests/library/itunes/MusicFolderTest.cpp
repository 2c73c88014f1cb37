#include "library/itunes/MusicFolder.h"

#include "support/AStringPrinting.h"
#include "support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>

TEST(MusicFolderTest, EscapesAreUtf8BytesAndStrayPercentSignsStay) {
    const struct {
        const char16_t* url;
        const char16_t* text;
    } cases[] = {
        {u"Beyonc%C3%A9", u"Beyoncé"}, {u"My%20Music", u"My Music"}, {u"100%", u"100%"}, {u"%2541", u"%41"},
        {u"%zz%4", u"%zz%4"},          {u"caf%E9", u"caf\xDCE9"}, // a byte of no UTF-8 stays that byte
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeUrlEscapes(AString(c.url)), AString(c.text));
}

TEST(MusicFolderTest, TheLibraryFileNamesTheFolder) {
    TempDir home;
    const AString root(home.Path());
    EXPECT_EQ(ReadMusicFolderIn(root), AString(home.Path() + "/iTunes/iTunes Music"));
    EXPECT_EQ(ReadMusicFolderIn(AString()), AString());

    std::filesystem::create_directories(home.File("iTunes"));
    WriteText(home.File("iTunes/iTunes Music Library.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<plist version=\"1.0\">\r\n<dict>\r\n"
              "\t<key>Music Folder</key><string>file://localhost/srv/My%20Music/Beyonc%C3%A9</string>\r\n");
    EXPECT_EQ(ReadMusicFolderIn(root), AString(u"/srv/My Music/Beyoncé/"));

    WriteText(home.File("iTunes/iTunes Music Library.xml"), "<dict>\n<key>Tracks</key>\n</dict>\n");
    EXPECT_EQ(ReadMusicFolderIn(root), AString(home.Path() + "/iTunes/iTunes Music"));
}
