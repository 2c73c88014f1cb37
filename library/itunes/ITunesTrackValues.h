#pragma once
// What the iTunes client reads of a track of the music application to make its song record. The
// master list reads it in steps, so that its filters can skip a track before the rest is read; an add
// reads it at once. Each step answers 0 or the code of the call that failed.

#include "foundation/AString.h"
#include "platform/itunes/ITunesTypes.h"

#include <cstdint>
#include <memory>
#include <string>

namespace itunesapp {
class Track;
}
class ITunesSong;

struct ITunesTrackValues {
    itunesapp::TrackKind kind = itunesapp::TrackKind::File;
    std::string location; // as the application gives it
    AString path;         // the same as text
    AString name;
    AString album;
    AString artist;
    AString genre;
    AString composer;
    AString equalizer;
    AString comment;
    int32_t trackNumber = 0;
    int32_t year = 0;
    int32_t bitRate = 0;
    int32_t duration = 0;
    int32_t playedCount = 0;
    int32_t rating = 0;
    int64_t size = 0;
    double modified = 0.0;
    double played = 0.0; // 0.0: never played
    itunesapp::ObjectIDs ids;

    // The kind, and the song file's path of a file track.
    int ReadLocation(const itunesapp::Track& track);
    // The texts the song filters look at.
    int ReadFilterTexts(const itunesapp::Track& track);
    int ReadOthers(const itunesapp::Track& track);
    // Every value of a file track; a URL track answers -6.
    int ReadAll(const itunesapp::Track& track);

    // A record with these values, bound to nothing; the texts move into it.
    std::unique_ptr<ITunesSong> MakeSong() &&;
};
