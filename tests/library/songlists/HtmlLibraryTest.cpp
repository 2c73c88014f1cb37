#include "foundation/AMemFile.h"
#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirSongDir.h"
#include "library/songlists/HtmlLibraryPage.h"
#include "library/songlists/TestSongFiles.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <string>

namespace {

const std::string kHeaderStart =
    "\r\n<HTML>\r\n<HEAD><META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"></HEAD>\r\n"
    "<FONT size = 4 color = #0000FF>\r\n\r\n<TABLE align = center>\r\n"
    "<TR><TD><FONT size = 8 color = #FF0000>MY MUSIC COLLECTION</TD></TR>\r\n"
    "</TABLE>\r\n</p>\r\n\r\n"
    "<TABLE border = 2 spacing = 2 cellpadding = 2 align = center>\r\n"
    "<TR style = \"color:#0000FF\"><TH>#</TH>";
const std::string kFooter = "\r\n</TABLE>\r\n</HTML>\r\n";

std::string Row(int number, std::initializer_list<const char*> cells) {
    std::string row = "<TR align = center>\r\n<TD>" + std::to_string(number) + "</TD>";
    for (const char* cell : cells)
        row += std::string("<TD>") + cell + "</TD>";
    return row + "\r\n</TR>\r\n";
}

std::string PageOf(ADirSong& list) {
    AMemFile page;
    EXPECT_EQ(list.WriteHtmlLibrary(page, CancelCallback()), 0);
    return std::string(reinterpret_cast<const char*>(page.GetBuffer()), page.GetSize());
}

} // namespace

TEST(HtmlLibraryTest, WritesOneRowPerSongWithItsLevels) {
    ADirSong list;
    list.AddEntry(AString(u"\\Rock\\AC_DC\\*\\T.N.T.\\mp3?12"), 0);
    list.AddEntry(AString(u"\\Pop\\Bj\u00f6rk\\Gold\\Waterloo\\m4a?3"), 0);
    // Texts are UTF-8, as the page declares.
    EXPECT_EQ(PageOf(list),
              kHeaderStart +
                  "<TH>GENRE</TH><TH>ARTIST</TH><TH>ALBUM</TH><TH>SONG NAME</TH><TH>FILE TYPE</TH>"
                  "</TR>\r\n\r\n" +
                  Row(1, {"Rock", "AC_DC", "-", "T.N.T.", "mp3"}) +
                  Row(2, {"Pop", "Bj\xC3\xB6rk", "Gold", "Waterloo", "m4a"}) + kFooter);
}

TEST(HtmlLibraryTest, AnEmptyListGivesTheTitleAndHeadingsOnly) {
    ADirSong list;
    list.SetGenreLevel(0);
    list.SetTypeLevel(0);
    EXPECT_EQ(PageOf(list),
              kHeaderStart + "<TH>ARTIST</TH><TH>ALBUM</TH><TH>SONG NAME</TH></TR>\r\n\r\n" + kFooter);
}

TEST(HtmlLibraryTest, LayoutWordsChooseTheColumnsAndTheTrackLevelIsSkipped) {
    ADirSong list;
    list.SetGenreLevel(0);
    list.SetTrackLevel(1);
    list.AddEntry(AString(u"\\Abba\\Gold\\7\\Waterloo\\mp3?1"), 0);
    list.SetAlbumLevel(0);
    list.SetTypeLevel(0);
    list.AddEntry(AString(u"\\Abba\\7\\Waterloo?2"), 0);
    const std::string page = PageOf(list);
    EXPECT_EQ(page.find("GENRE"), std::string::npos);
    EXPECT_NE(page.find(Row(2, {"Abba", "Waterloo"})), std::string::npos);
    list.SetAlbumLevel(1);
    list.SetTypeLevel(1);
    EXPECT_NE(PageOf(list).find(Row(1, {"Abba", "Gold", "Waterloo", "mp3"})), std::string::npos);
}

// Texts from tags and from other computers show as they are and cannot add markup.
TEST(HtmlLibraryTest, SongTextsAreEscaped) {
    EXPECT_EQ(HtmlLibraryPage::Escape(AString("Rock & Roll <b>\"x\"</b>")),
              "Rock &amp; Roll &lt;b&gt;&quot;x&quot;&lt;/b&gt;");
    EXPECT_EQ(HtmlLibraryPage::Escape(AString(u"Caf\u00E9")), "Caf\xC3\xA9");
    ADirSong list;
    list.AddEntry(AString(u"\\Pop\\Simon & Garfunkel\\*\\<script>\\mp3?1"), 0);
    EXPECT_NE(PageOf(list).find(Row(1, {"Pop", "Simon &amp; Garfunkel", "-", "&lt;script&gt;", "mp3"})),
              std::string::npos);
}

TEST(HtmlLibraryTest, BuildsThePageOfAFolderInSortedOrder) {
    TempDir dir;
    TestSongTags tags;
    tags.genre = "Rock";
    tags.artist = "Zappa";
    tags.album = "Apostrophe";
    tags.title = "Cosmik Debris";
    WriteSongFile(dir.File("music/z.mp3"), MakeMp3(tags));
    tags.artist = "Abba";
    tags.album = "";
    tags.title = "Waterloo";
    WriteSongFile(dir.File("music/a.mp3"), MakeMp3(tags));
    ADirSongDir list;
    list.SetRootPath(dir.Text("music"));
    ASSERT_EQ(list.BuildDirectoryList(dir.Text("list.html"), CancelCallback()), 0);
    const std::vector<uint8_t> bytes = ReadBytes(dir.File("list.html"));
    const std::string page(bytes.begin(), bytes.end());
    EXPECT_NE(page.find(Row(1, {"Rock", "Abba", "-", "Waterloo", "mp3"}) +
                        Row(2, {"Rock", "Zappa", "Apostrophe", "Cosmik Debris", "mp3"})),
              std::string::npos);

    // A failed read leaves the old page as it was.
    list.SetRootPath(dir.Text("gone"));
    EXPECT_EQ(list.BuildDirectoryList(dir.Text("list.html"), CancelCallback()), kErrorInvalidPath);
    EXPECT_EQ(ReadBytes(dir.File("list.html")), bytes);
    list.SetRootPath(dir.Text("music"));
    EXPECT_NE(list.BuildDirectoryList(dir.Text("no folder/list.html"), CancelCallback()), 0);
}
