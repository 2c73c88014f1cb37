#pragma once
// A stand-in application over a library file in a fresh folder, with fake song files, and short ways
// to the objects the tests look at.

#include "FakeSongFiles.h"
#include "platform/itunes/Application.h"
#include "platform/itunes/EventSink.h"
#include "platform/itunes/ITunesInstance.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/Track.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using TrackList = std::vector<std::shared_ptr<itunesapp::Track>>;

// Keeps every event it hears.
class RecordingSink : public itunesapp::EventSink {
public:
    void OnDatabaseChanged(const std::vector<itunesapp::ObjectIDs>& deleted,
                           const std::vector<itunesapp::ObjectIDs>& changed) override {
        this->deleted.push_back(deleted);
        this->changed.push_back(changed);
    }
    void OnQuitting() override { ++quits; }

    std::vector<std::vector<itunesapp::ObjectIDs>> deleted;
    std::vector<std::vector<itunesapp::ObjectIDs>> changed;
    int quits = 0;
};

class StandInFixture : public ::testing::Test {
protected:
    void SetUp() override;

    std::string LibraryFile() const { return folder.File("iTunes/iTunes Music Library.xml"); }
    // An instance on the fixture's library file; a quiet time of 0 saves each change at once.
    itunesapp::ITunesInstance::Setup MakeSetup(std::chrono::milliseconds quietTime = {}) const;
    // A fake song file below the fixture's folder.
    std::string Song(const std::string& name, const FakeSong& song = {}) const;

    std::shared_ptr<itunesapp::Playlist> LibraryPlaylist() const;
    // The first playlist of the library source with the name.
    std::shared_ptr<itunesapp::Playlist> NamedPlaylist(const std::u16string& name) const;
    std::shared_ptr<itunesapp::Playlist> NewPlaylist(const std::u16string& name) const;
    // The new tracks of one AddFiles call.
    TrackList Add(const std::vector<std::string>& paths) const;

    TempDir folder;
    std::shared_ptr<FakeTagReader> tags = std::make_shared<FakeTagReader>();
    std::unique_ptr<itunesapp::ITunesInstance> instance;
    std::shared_ptr<itunesapp::Application> app;
};

// Every track of the playlist, read through its enumerator.
TrackList TracksOf(const itunesapp::Playlist& playlist);
TrackList TracksOf(const itunesapp::TrackCollection& tracks);
std::u16string TextOf(const itunesapp::Track& track, itunesapp::TextField field = itunesapp::TextField::Name);
int32_t NumberOf(const itunesapp::Track& track, itunesapp::NumberField field);
std::vector<std::u16string> NamesOf(const itunesapp::Playlist& playlist);
std::u16string NameOf(const itunesapp::Playlist& playlist);
