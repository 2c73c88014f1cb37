#pragma once
// Tracks and playlists that stand for the music application's live objects in the record tests.

#include "library/itunes/ITunesBindingOwner.h"
#include "library/itunes/ITunesPlayListObject.h"
#include "library/itunes/ITunesTrackLookup.h"
#include "library/itunes/ITunesTrackObject.h"

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

class FakeTrack : public ITunesTrackObject {
public:
    enum class Behaviour { Answer, Fail, Throw };

    int GetText(ITunesTrackProperty property, AString& value) override;
    int SetText(ITunesTrackProperty property, const AString& value) override;
    int GetNumber(ITunesTrackProperty property, int32_t& value) override;
    int SetNumber(ITunesTrackProperty property, int32_t value) override;
    int GetArtworkCount(int32_t& count) override;
    int SaveArtworkToFile(int32_t item, const AString& path) override;
    int Delete() override;

    Behaviour behaviour = Behaviour::Answer;
    std::map<ITunesTrackProperty, AString> texts;
    std::map<ITunesTrackProperty, int32_t> numbers;
    std::vector<std::vector<uint8_t>> artworks;
    std::vector<std::string> artworkPaths;
    int deletes = 0;

private:
    int Outcome() const;
};

class FakePlayList : public ITunesPlayListObject {
public:
    int GetName(AString& name) override;
    int SetName(const AString& name) override;
    int AddTrack(const ITunesTrackRef& track, ITunesTrackRef& added) override;
    int Delete() override;

    FakeTrack::Behaviour behaviour = FakeTrack::Behaviour::Answer;
    bool givesTrack = true;
    int32_t nextTrackID = 77;
    AString name;
    std::vector<ITunesTrackRef> added;
};

// Stands for the iTunes client as the owner of library bindings.
class FakeClient : public ITunesBindingOwner {};

class FakeLookup : public ITunesTrackLookup {
public:
    ITunesTrackRef GetTrackByID(int32_t sourceID, int32_t playListID, int32_t trackID,
                                int32_t databaseID) override;

    std::map<int32_t, ITunesTrackRef> tracksByTrackID;
    int lookups = 0;
};
