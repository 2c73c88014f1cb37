#pragma once
// A user playlist of the music application as the playlist record uses it.

#include "library/itunes/ITunesPlayListObject.h"

#include <memory>

namespace itunesapp {
class Playlist;
}

class ITunesAppPlayList : public ITunesPlayListObject {
public:
    explicit ITunesAppPlayList(std::shared_ptr<const itunesapp::Playlist> playlist)
        : m_playlist(std::move(playlist)) {}

    int GetName(AString& name) override;
    int SetName(const AString& name) override;
    // Takes tracks of the application only; any other track is refused with -6.
    int AddTrack(const ITunesTrackRef& track, ITunesTrackRef& added) override;
    int Delete() override;

private:
    std::shared_ptr<const itunesapp::Playlist> m_playlist;
};
