#pragma once
// A live playlist of the music application, as the playlist record uses it. Every call answers 0 or a
// negative code, and may throw when the application raises an exception inside it.

#include "foundation/AString.h"
#include "library/itunes/ITunesTrackObject.h"

class ITunesPlayListObject {
public:
    virtual ~ITunesPlayListObject() = default;

    virtual int GetName(AString& name) = 0;
    virtual int SetName(const AString& name) = 0;
    // Adds the track through the playlist's user-playlist interface; `added` is the track as this
    // playlist holds it, or null when the application gave none back.
    virtual int AddTrack(const ITunesTrackRef& track, ITunesTrackRef& added) = 0;
    // Deletes the playlist in the application; its tracks stay in the library.
    virtual int Delete() = 0;
};

using ITunesPlayListRef = std::shared_ptr<ITunesPlayListObject>;
