// Library files as another program writes them (tests/fixtures/itunes/foreign-library.xml, written by
// Python's plistlib): what the stand-in shows of them, and what a save with one change keeps, checked by
// plistlib again in a process of its own.
#include "StandInFixture.h"

#include "support/TempDir.h"

#include <filesystem>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

using namespace itunesapp;

extern char** environ;

namespace {

constexpr char kForeignLibrary[] = "itunes/foreign-library.xml";
constexpr int32_t kStringID = 130;
constexpr int32_t kRepeatedID = 140;
constexpr int kModelledTracks = 64;

std::string ReadWhole(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

size_t Count(const std::string& text, const std::string& piece) {
    size_t count = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size()))
        ++count;
    return count;
}

// Runs the independent comparison of two library files; its findings go into `report`.
int CompareWithPlistlib(const std::string& before, const std::string& after, std::vector<std::string> options,
                        std::string& report) {
    const std::string script = FixturePath("../platform/itunes/compare_library_files.py");
    const std::string output = after + ".report";
    std::vector<std::string> words = {"python3", script, before, after};
    words.insert(words.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "python3", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(child, &status, 0);
    report = ReadWhole(output);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ForeignLibraryTest : public StandInFixture {
protected:
    void SetUp() override {
        std::filesystem::create_directories(std::filesystem::path(LibraryFile()).parent_path());
        WriteText(LibraryFile(), Original());
        StandInFixture::SetUp();
    }

    virtual std::string Original() const { return ReadWhole(FixturePath(kForeignLibrary)); }

    std::shared_ptr<Track> TrackWithID(int32_t id) const {
        int32_t libraryID = 0;
        std::shared_ptr<Track> track;
        EXPECT_EQ(LibraryPlaylist()->GetPlaylistID(libraryID), Status::Ok);
        return app->GetTrackByIDs({1, libraryID, id, id}, track) == Status::Ok ? track : nullptr;
    }

    // The file the test began with, beside the library file.
    std::string KeptOriginal() const {
        const std::string path = folder.File("before.xml");
        WriteText(path, Original());
        return path;
    }
};

} // namespace

TEST_F(ForeignLibraryTest, ShowsATrackWhoseIDIsTextAndOneTrackOfARepeatedID) {
    const TrackList tracks = TracksOf(*LibraryPlaylist());
    EXPECT_EQ(tracks.size(), size_t(kModelledTracks));
    ASSERT_NE(TrackWithID(kStringID), nullptr);
    EXPECT_EQ(TextOf(*TrackWithID(kStringID)), u"Song 30 & <more>");
    // The first of the two tracks with one id is the one shown; the other is kept as it was read.
    ASSERT_NE(TrackWithID(kRepeatedID), nullptr);
    EXPECT_EQ(TextOf(*TrackWithID(kRepeatedID)), u"Song 40 & <more>");
    // A playlist that names a track twice shows it twice; what names no track it shows is left out.
    EXPECT_EQ(NamesOf(*NamedPlaylist(u"Mix")),
              (std::vector<std::u16string>{u"Song 1 & <more>", u"Song 30 & <more>", u"Song 1 & <more>",
                                           u"Song 5 & <more>"}));
}

TEST_F(ForeignLibraryTest, OneChangeKeepsEverythingElseAsAnotherReaderSeesIt) {
    const std::string before = KeptOriginal();
    ASSERT_EQ(TrackWithID(105)->SetNumber(NumberField::PlayedCount, 7), Status::Ok);
    std::string report;
    EXPECT_EQ(CompareWithPlistlib(before, LibraryFile(), {"--track", "105", "Play Count", "7"}, report), 0)
        << report;
}

TEST_F(ForeignLibraryTest, AChangedPlaylistKeepsWhatItNamesThatIsNoTrackHere) {
    const std::string before = KeptOriginal();
    const std::shared_ptr<Playlist> mix = NamedPlaylist(u"Mix");
    // The second track of "Mix" is the one whose id is text.
    ASSERT_EQ(TracksOf(*mix).at(1)->Delete(), Status::Ok);
    std::string report;
    EXPECT_EQ(CompareWithPlistlib(before, LibraryFile(), {"--playlist", "Mix", "[101, 101, 999, 4000000000, 105]"},
                                  report),
              0)
        << report;
}

TEST_F(ForeignLibraryTest, ALibraryReadAgainAfterTheSaveShowsTheSame) {
    ASSERT_EQ(TrackWithID(105)->SetNumber(NumberField::PlayedCount, 7), Status::Ok);
    const std::string saved = ReadWhole(LibraryFile());
    ITunesInstance again(MakeSetup());
    std::shared_ptr<Application> second;
    ASSERT_EQ(Application::Create(again, second), Status::Ok);
    std::shared_ptr<Playlist> library;
    ASSERT_EQ(second->GetLibraryPlaylist(library), Status::Ok);
    EXPECT_EQ(TracksOf(*library).size(), size_t(kModelledTracks));
    // Both the text id and the id above 2^31-1 stand as they were read.
    EXPECT_EQ(Count(saved, "<string>130</string>"), 2u);
    EXPECT_EQ(Count(saved, "<integer>4000000000</integer>"), 3u);
}

namespace {

// The fixture with a value of a key nobody reads nested `depth` arrays deep in the first track.
class DeeplyNestedLibraryTest : public ForeignLibraryTest {
protected:
    static constexpr size_t kDepth = 300000;

    std::string Original() const override {
        std::string text = ForeignLibraryTest::Original();
        const std::string anchor = "<key>Kind</key>";
        std::string deep = "<key>Deep</key>";
        for (size_t i = 0; i < kDepth; ++i)
            deep += "<array>";
        deep += "<string>bottom</string>";
        for (size_t i = 0; i < kDepth; ++i)
            deep += "</array>";
        text.insert(text.find(anchor), deep);
        return text;
    }
};

} // namespace

TEST_F(DeeplyNestedLibraryTest, AValueNestedThreeHundredThousandDeepIsReadAndWrittenBack) {
    ASSERT_EQ(TrackWithID(100)->SetNumber(NumberField::PlayedCount, 9), Status::Ok);
    const std::string saved = ReadWhole(LibraryFile());
    EXPECT_EQ(Count(saved, "<array>"), Count(Original(), "<array>"));
    EXPECT_EQ(Count(saved, "</array>"), Count(Original(), "</array>"));
    EXPECT_NE(saved.find("<string>bottom</string>"), std::string::npos);
}
