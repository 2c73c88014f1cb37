#include "StandInFixture.h"
#include "platform/itunes/Artwork.h"
#include "platform/itunes/ArtworkCollection.h"
#include "platform/itunes/LibraryDates.h"

#include <filesystem>

using namespace itunesapp;

namespace {

using TrackTest = StandInFixture;

FakeSong Tagged() {
    FakeSong song;
    song.fields = {u"Title", u"Album", u"Artist", u"Rock", u"Composer", u"Comment", 7, 1999, 192, 215500};
    song.pictures = {"first picture", "second"};
    return song;
}

} // namespace

TEST_F(TrackTest, ReadsTheTagsSizeAndTimesOfItsFile) {
    const std::string path = Song("tagged.mp3", Tagged());
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now());
    const TrackList added = Add({path});
    ASSERT_EQ(added.size(), 1u);
    const Track& track = *added[0];
    TrackKind kind{};
    ASSERT_EQ(track.GetKind(kind), Status::Ok);
    EXPECT_EQ(kind, TrackKind::File);
    EXPECT_EQ(TextOf(track, TextField::Name), u"Title");
    EXPECT_EQ(TextOf(track, TextField::Album), u"Album");
    EXPECT_EQ(TextOf(track, TextField::Artist), u"Artist");
    EXPECT_EQ(TextOf(track, TextField::Genre), u"Rock");
    EXPECT_EQ(TextOf(track, TextField::Composer), u"Composer");
    EXPECT_EQ(TextOf(track, TextField::Comment), u"Comment");
    EXPECT_EQ(TextOf(track, TextField::Equalizer), u"");
    EXPECT_EQ(NumberOf(track, NumberField::TrackNumber), 7);
    EXPECT_EQ(NumberOf(track, NumberField::Year), 1999);
    EXPECT_EQ(NumberOf(track, NumberField::BitRate), 192);
    EXPECT_EQ(NumberOf(track, NumberField::Duration), 216); // 215.5 s rounds to the nearest second
    EXPECT_EQ(NumberOf(track, NumberField::PlayedCount), 0);
    EXPECT_EQ(NumberOf(track, NumberField::DatabaseID), NumberOf(track, NumberField::TrackID));
    int64_t size = 0;
    ASSERT_EQ(track.GetSize(size), Status::Ok);
    EXPECT_EQ(size, static_cast<int64_t>(std::filesystem::file_size(path)));
    std::string location;
    ASSERT_EQ(track.GetLocation(location), Status::Ok);
    EXPECT_EQ(location, path);
    double modified = 0, played = -1;
    ASSERT_EQ(track.GetDate(DateField::Modified, modified), Status::Ok);
    ASSERT_EQ(track.GetDate(DateField::Played, played), Status::Ok);
    int64_t modifiedUnix = 0;
    ASSERT_TRUE(UnixFromOleDate(modified, modifiedUnix));
    EXPECT_NEAR(static_cast<double>(modifiedUnix), static_cast<double>(time(nullptr)), 5.0);
    EXPECT_EQ(played, 0.0);
}

TEST_F(TrackTest, KeepsPlayDataAndTagsItIsGivenAcrossASave) {
    const TrackList added = Add({Song("tagged.mp3", Tagged())});
    const Track& track = *added[0];
    const double playedDate = 39630.5; // 2008-07-01 12:00 local time
    ASSERT_EQ(track.SetNumber(NumberField::PlayedCount, 3), Status::Ok);
    ASSERT_EQ(track.SetNumber(NumberField::Rating, 60), Status::Ok);
    ASSERT_EQ(track.SetDate(DateField::Played, playedDate), Status::Ok);
    ASSERT_EQ(track.SetText(TextField::Comment, u"liked"), Status::Ok);
    ASSERT_EQ(track.SetText(TextField::Equalizer, u"Rock"), Status::Ok);
    ASSERT_EQ(track.SetText(TextField::Name, u"Renamed & Co"), Status::Ok);
    ASSERT_EQ(track.SetNumber(NumberField::TrackNumber, 8), Status::Ok);
    ASSERT_EQ(track.SetNumber(NumberField::Year, 2001), Status::Ok);
    for (const auto& [field, value] :
         {std::pair{NumberField::Rating, 101}, std::pair{NumberField::PlayedCount, -1},
          std::pair{NumberField::BitRate, 128}, std::pair{NumberField::Duration, 3}})
        EXPECT_EQ(track.SetNumber(field, value), Status::Failed);
    EXPECT_EQ(track.SetDate(DateField::Modified, playedDate), Status::Failed);
    EXPECT_EQ(track.SetDate(DateField::Played, 1e9), Status::Failed);

    // A new program over the same file reads it all back.
    instance.reset();
    ITunesInstance again(MakeSetup());
    std::shared_ptr<Application> application;
    ASSERT_EQ(Application::Create(again, application), Status::Ok);
    std::shared_ptr<Playlist> library;
    ASSERT_EQ(application->GetLibraryPlaylist(library), Status::Ok);
    const TrackList read = TracksOf(*library);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(NumberOf(*read[0], NumberField::PlayedCount), 3);
    EXPECT_EQ(NumberOf(*read[0], NumberField::Rating), 60);
    EXPECT_EQ(NumberOf(*read[0], NumberField::TrackNumber), 8);
    EXPECT_EQ(NumberOf(*read[0], NumberField::Year), 2001);
    EXPECT_EQ(TextOf(*read[0], TextField::Comment), u"liked");
    EXPECT_EQ(TextOf(*read[0], TextField::Equalizer), u"Rock");
    EXPECT_EQ(TextOf(*read[0], TextField::Name), u"Renamed & Co");
    double played = 0;
    ASSERT_EQ(read[0]->GetDate(DateField::Played, played), Status::Ok);
    EXPECT_DOUBLE_EQ(played, playedDate);
    ASSERT_EQ(read[0]->SetDate(DateField::Played, 0.0), Status::Ok);
    ASSERT_EQ(read[0]->GetDate(DateField::Played, played), Status::Ok);
    EXPECT_EQ(played, 0.0);
}

TEST_F(TrackTest, DeletingFromTheLibraryRemovesTheSongEverywhereFromAPlaylistOneOccurrence) {
    const TrackList added = Add({Song("a.mp3"), Song("b.mp3")});
    const std::shared_ptr<Playlist> mix = NewPlaylist(u"Mix");
    const std::shared_ptr<Playlist> other = NewPlaylist(u"Other");
    std::shared_ptr<Track> first, second, third, elsewhere;
    ASSERT_EQ(mix->AddTrack(*added[0], first), Status::Ok);
    ASSERT_EQ(mix->AddTrack(*added[1], second), Status::Ok);
    ASSERT_EQ(mix->AddTrack(*added[0], third), Status::Ok);
    ASSERT_EQ(other->AddTrack(*added[0], elsewhere), Status::Ok);
    // One song twice in a playlist: two positions of one database id.
    EXPECT_EQ(NumberOf(*first, NumberField::DatabaseID), NumberOf(*third, NumberField::DatabaseID));
    EXPECT_EQ(NamesOf(*mix), (std::vector<std::u16string>{u"a", u"b", u"a"}));

    ASSERT_EQ(third->Delete(), Status::Ok);
    EXPECT_EQ(NamesOf(*mix), (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(third->Delete(), Status::Failed);
    EXPECT_EQ(NamesOf(*LibraryPlaylist()), (std::vector<std::u16string>{u"a", u"b"}));

    ASSERT_EQ(added[0]->Delete(), Status::Ok);
    EXPECT_EQ(NamesOf(*LibraryPlaylist()), std::vector<std::u16string>{u"b"});
    EXPECT_EQ(NamesOf(*mix), std::vector<std::u16string>{u"b"});
    EXPECT_TRUE(NamesOf(*other).empty());
    std::u16string name;
    EXPECT_EQ(first->GetText(TextField::Name, name), Status::Failed);
    EXPECT_TRUE(std::filesystem::exists(folder.File("songs/a.mp3")));
}

TEST_F(TrackTest, SavesEachPictureOfItsFile) {
    const TrackList added = Add({Song("tagged.mp3", Tagged())});
    std::shared_ptr<ArtworkCollection> artwork;
    ASSERT_EQ(added[0]->GetArtwork(artwork), Status::Ok);
    int32_t count = 0;
    ASSERT_EQ(artwork->GetCount(count), Status::Ok);
    ASSERT_EQ(count, 2);
    std::shared_ptr<Artwork> second;
    ASSERT_EQ(artwork->GetItem(2, second), Status::Ok);
    EXPECT_EQ(artwork->GetItem(3, second), Status::Failed);
    ASSERT_EQ(second->SaveToFile(folder.File("picture.tmp")), Status::Ok);
    const std::vector<uint8_t> saved = ReadBytes(folder.File("picture.tmp"));
    EXPECT_EQ(std::string(saved.begin(), saved.end()), "second");
    EXPECT_EQ(second->SaveToFile(folder.File("no such folder/picture.tmp")), Status::Failed);
}
