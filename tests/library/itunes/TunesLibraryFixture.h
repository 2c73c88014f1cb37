#pragma once
// A music library of its own for each test: the user's music and data folders lie in a fresh folder,
// the running application keeps its library file there (saving each change at once) and reads song
// files with our tag reader. Songs are copies of the real-tool files of tests/fixtures/tags.

#include "library/itunes/ITunesEventTarget.h"
#include "library/itunes/ITunesTrackValues.h"
#include "platform/itunes/ITunesInstance.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class ITunesSong;

class TunesLibraryFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A copy of the fixture song at `place` below the songs folder; its native path.
    std::string PutSong(const std::string& fixture, const std::string& place) const;
    // Five real-tool songs of several tag formats, filed below the songs folder and added by the user.
    void AddFiveSongs();
    // Adds the files through the application itself, as the user would.
    void AddToLibrary(const std::vector<std::string>& paths) const;
    // A user playlist of the library holding the songs of those files, in that order.
    void MakePlayList(const std::u16string& name, const std::vector<std::string>& paths) const;
    // The library file as the application wrote it.
    std::string LibraryText() const;
    // Replaces the library file before the application first reads it.
    void WriteLibraryText(const std::string& text) const;
    // The library as another program sees it from the file.
    std::unique_ptr<itunesapp::ITunesInstance> OtherProgram() const;
    std::string MusicFolder() const { return dir.File("Music/iTunes/iTunes Music"); }
    // The track of the file in the library of `instance`, read as the client reads it.
    static ITunesTrackValues TrackIn(itunesapp::ITunesInstance& instance, const std::string& path);
    // The files of the songs in the library, as another program reads them from the library file.
    std::set<std::string> FilesInLibrary() const;

    TempDir dir;
    // The files of AddFiveSongs.
    std::string five, bjork, ubung, episode, untagged;

private:
    std::vector<std::pair<std::string, std::string>> m_savedEnvironment;
};

// The fields a song record took from its track, as one text: "name|album|artist|genre|composer|
// track|year|bitrate|duration|size|extension".
std::string FieldsOf(ITunesSong& song);

// Keeps the events it is handed; refuses them when told to.
class RecordingEventTarget : public ITunesEventTarget {
public:
    bool PostDatabaseChanged(ITunesDatabaseChange change) override;
    bool PostQuit() override;

    std::vector<ITunesDatabaseChange> Changes() const;
    int Quits() const;

    bool refuse = false;

private:
    mutable std::mutex m_lock;
    std::vector<ITunesDatabaseChange> m_changes;
    int m_quits = 0;
};
