#pragma once
// A track of the music application as the song and playlist records use it.

#include "library/itunes/ITunesTrackObject.h"

#include <memory>

namespace itunesapp {
class Track;
}

class ITunesAppTrack : public ITunesTrackObject {
public:
    explicit ITunesAppTrack(std::shared_ptr<const itunesapp::Track> track) : m_track(std::move(track)) {}

    const itunesapp::Track& AppTrack() const { return *m_track; }

    int GetText(ITunesTrackProperty property, AString& value) override;
    int SetText(ITunesTrackProperty property, const AString& value) override;
    int GetNumber(ITunesTrackProperty property, int32_t& value) override;
    int SetNumber(ITunesTrackProperty property, int32_t value) override;
    int GetArtworkCount(int32_t& count) override;
    int SaveArtworkToFile(int32_t item, const AString& path) override;
    int Delete() override;

private:
    std::shared_ptr<const itunesapp::Track> m_track;
};
