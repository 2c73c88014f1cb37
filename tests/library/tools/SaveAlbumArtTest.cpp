#include "foundation/ErrorCodes.h"
#include "library/tags/ID3.h"
#include "library/tools/ToolTestLists.h"
#include "support/AStringPrinting.h"

namespace {

class SaveAlbumArt : public ToolTest {
protected:
    void SetUp() override {
        Put("bare.mp3", SongTags("Rock", "Abba", "Gold", "Bare"));
        Put("framed.mp3", SongTags("Rock", "Abba", "Gold", "Framed"));
        Put("plain.mp3", SongTags("Rock", "Abba", "Gold", "Plain"));
        PutBytes("tune.m4a", MakeMp4(SongTags("Rock", "Abba", "Gold", "Tune"), 400));
        ASSERT_EQ(WritePicture("framed.mp3"), 0);
        Open(library);
        for (const char* title : {"Bare", "Framed", "Tune"})
            library.artwork[title] = jpeg;
    }

    int WritePicture(const std::string& name) {
        ID3 tags;
        tags.Read(Music(name));
        return tags.Write(jpeg.data(), static_cast<uint32_t>(jpeg.size()), false, nullptr);
    }

    int PicturesIn(const std::string& name) {
        ID3 tags;
        EXPECT_EQ(tags.Read(Music(name)), 0);
        return tags.GetPictureCount();
    }

    const std::vector<uint8_t> jpeg = FixtureBytes("tags/tiny.jpg");
    StandInList library{&progress, ADir::kTypeTunes};
};

} // namespace

// Only an mp3 song with artwork in the library and no picture in its tag is listed.
TEST_F(SaveAlbumArt, TheArtworkGoesIntoTheMp3FilesThatLackIt) {
    presenter.QueueAnswers({true});
    EXPECT_EQ(library.SaveAlbumArt(nullptr, 1), 0);
    const auto shown = LastList();
    EXPECT_EQ(shown.title, AString("Save Album Art to Music Files In iTunes - Files to Modify"));
    ASSERT_EQ(shown.rows.size(), 1u);
    EXPECT_EQ(shown.rows[0].kind, uint32_t(kToolSaveAlbumArt));
    EXPECT_EQ(shown.rows[0].entry, AString("\\Rock\\Abba\\Gold\\Bare\\mp3?0"));
    EXPECT_EQ(shown.rows[0].detail, Music("bare.mp3"));
    EXPECT_EQ(PicturesIn("bare.mp3"), 1);
    EXPECT_EQ(PicturesIn("plain.mp3"), 0);
    EXPECT_TRUE(Logged("Inserting Artwork: " + shown.rows[0].displayText.ToUtf8()));
    EXPECT_TRUE(Logged("Actions completed.\r\n"));
    EXPECT_EQ(library.saves, 1);
}

TEST_F(SaveAlbumArt, ASongWhoseArtworkGivesNoPictureIsPassedOverSilently) {
    library.artwork["Bare"].clear();
    presenter.QueueAnswers({true});
    EXPECT_EQ(library.SaveAlbumArt(nullptr, 1), 0);
    EXPECT_EQ(PicturesIn("bare.mp3"), 0);
    EXPECT_FALSE(Logged("Error "));
    EXPECT_TRUE(Logged("Actions completed.\r\n"));
}

// A failing entry is logged and asked about before the next one; a failure at the last entry ends the
// scan with its error.
TEST_F(SaveAlbumArt, FailingEntriesAreLoggedAndTheLastOneEndsTheScan) {
    library.artworkUnknown.insert("Bare");
    user.QueueAnswers({1});
    EXPECT_EQ(library.SaveAlbumArt(nullptr, 1), 0);
    EXPECT_TRUE(Logged("iTunes request error: \\Rock\\Abba\\Gold\\Bare\\mp3?0"));
    EXPECT_EQ(user.alerts.size(), 1u);
    EXPECT_EQ(user.messages, std::vector<AString>{AString("No Linked Artwork Detected!")});

    library.artworkUnknown = {"Tune"}; // an m4a: never asked about its artwork
    library.unnamed = {3};
    EXPECT_EQ(library.SaveAlbumArt(nullptr, 1), kErrorUnknownSongEntry);
    EXPECT_TRUE(Logged("Disk path error: \\Rock\\Abba\\Gold\\Tune\\m4a?3"));
    EXPECT_TRUE(Logged("Error Adding Artwork to Files!\r\n"));
}

TEST_F(SaveAlbumArt, ATagThatCannotBeWrittenIsLoggedAndTheRowEnds) {
    presenter.SetEdit([this](SongToolActions&) { RemoveFile("bare.mp3"); });
    presenter.QueueAnswers({true});
    library.SetAskOnError(1);
    EXPECT_NE(library.SaveAlbumArt(nullptr, 1), 0);
    EXPECT_TRUE(Logged("Error Retrieving File Data: "));
    // The row ends without the error question.
    EXPECT_TRUE(user.alerts.empty());
}
