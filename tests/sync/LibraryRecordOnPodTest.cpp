// Songs whose library record says other names than their files' tags (the user edited them in the
// music application, which keeps the edit in its library file only): "Make iPod equal to iTunes" puts
// them on the iPod once, under the library's names, and later runs leave them there.

#include "foundation/ErrorCodes.h"
#include "platform/itunes/Application.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/Track.h"
#include "platform/itunes/TrackCollection.h"
#include "support/AStringPrinting.h"
#include "sync/LibraryPodFixture.h"

#include <gtest/gtest.h>

using namespace itunesapp;

namespace {

class LibraryRecordOnPod : public LibraryPodFixture {
protected:
    void Rename(const std::string& path, TextField field, const char16_t* value) {
        ChangeLibrarySong(path, [&](Track& track) { return track.SetText(field, value); });
    }

    std::unique_ptr<ASyncLib> MakeEqual() {
        auto sync = MakeSync(kDirection1To2, 1);
        KeptAnswers answers;
        answers.remove = kAnswerYesToAll;
        sync->SetKeptAnswers(answers);
        return sync;
    }
};

} // namespace

TEST_F(LibraryRecordOnPod, EditedSongsAreCopiedOnceUnderTheLibraryNamesAndThenLeftAlone) {
    const std::string waterloo = AddLibrarySong("Abba", "Gold", "Waterloo", "1");
    const std::string mammaMia = AddLibrarySong("Abba", "Gold", "Mamma Mia", "2");
    AddLibrarySong("Queen", "Opera", "Mustapha", "3");
    Rename(waterloo, TextField::Artist, u"ABBA & Friends");
    Rename(mammaMia, TextField::Name, u"Mamma Mia (Remastered)");

    for (int run = 0; run < 4; ++run) {
        auto sync = MakeEqual();
        ASSERT_EQ(Run(*sync), 0) << "run " << run << "\n" << progress.PendingLog().ToUtf8();
        if (run > 0)
            EXPECT_TRUE(shown.empty()) << "run " << run << ": " << shown.front();
        const auto tracks = TracksOnPod();
        EXPECT_EQ(tracks.size(), 3U) << "run " << run;
        EXPECT_EQ(tracks.count("Mamma Mia (Remastered)"), 1U) << "run " << run;
        EXPECT_EQ(FilesInPodMusic().size(), 3U) << "run " << run;
    }
    std::map<std::string, std::string> gpod;
    if (ReadPodWithGpod(PodRoot(), gpod))
        EXPECT_EQ(gpod.size(), 3U);
}

// The library and the iPod differ only in the track number, which the entries show and the iPod's
// duplicate test does not look at: the copy is refused, and the iPod keeps the song it has.
TEST_F(LibraryRecordOnPod, ACopyRefusedAsADuplicateKeepsTheIPodsCopyOfTheSong) {
    const std::string waterloo = AddLibrarySong("Abba", "Gold", "Waterloo", "2");
    {
        auto copy = MakeSync(kDirection1To2, 0);
        ASSERT_EQ(Run(*copy), 0) << progress.PendingLog().ToUtf8();
    }
    ASSERT_EQ(TracksOnPod().size(), 1U);
    // The library's entry sorts before the iPod's: its copy is tried before the iPod's entry is deleted.
    ChangeLibrarySong(waterloo, [](Track& track) { return track.SetNumber(NumberField::TrackNumber, 1); });

    auto sync = MakeEqual();
    sync->SetUseTrackNumber(1);
    EXPECT_EQ(Run(*sync), kErrorActionsFailed);
    ASSERT_EQ(shown.size(), 2U);
    EXPECT_EQ(TracksOnPod().size(), 1U);
    EXPECT_EQ(FilesInPodMusic().size(), 1U);
    EXPECT_NE(progress.PendingLog().ToUtf8().find("Not deleted"), std::string::npos)
        << progress.PendingLog().ToUtf8();
}
