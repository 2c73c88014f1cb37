#include "library/itunes/ITunesAppPlayList.h"

#include "foundation/ErrorCodes.h"
#include "library/itunes/ITunesAppTrack.h"
#include "library/itunes/ITunesStatusCode.h"
#include "platform/itunes/Playlist.h"
#include "platform/itunes/Track.h"

int ITunesAppPlayList::GetName(AString& name) {
    std::u16string text;
    if (const int result = ITunesStatusCode(m_playlist->GetName(text)))
        return result;
    name = AString(std::move(text));
    return 0;
}

int ITunesAppPlayList::SetName(const AString& name) {
    return ITunesStatusCode(m_playlist->SetName(name.GetCString()));
}

int ITunesAppPlayList::AddTrack(const ITunesTrackRef& track, ITunesTrackRef& added) {
    const auto* appTrack = dynamic_cast<const ITunesAppTrack*>(track.get());
    if (!appTrack)
        return kErrorITunesCall;
    std::shared_ptr<itunesapp::Track> occurrence;
    if (const int result = ITunesStatusCode(m_playlist->AddTrack(appTrack->AppTrack(), occurrence)))
        return result;
    added = std::make_shared<ITunesAppTrack>(std::move(occurrence));
    return 0;
}

int ITunesAppPlayList::Delete() {
    return ITunesStatusCode(m_playlist->Delete());
}
