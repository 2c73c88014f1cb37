#pragma once
// A subscriber to the application's events (Application::Subscribe).

#include "platform/itunes/ITunesTypes.h"

#include <vector>

namespace itunesapp {

class EventSink {
public:
    virtual ~EventSink() = default;

    // Tracks and playlists were deleted or changed (added ones count as changed), by this process or by
    // the other program. Called on the thread that made or noticed the change, after the change and with
    // no lock held: copy what is needed and return.
    virtual void OnDatabaseChanged(const std::vector<ObjectIDs>& deleted,
                                   const std::vector<ObjectIDs>& changed) = 0;
    // The application is quitting; every object of it answers Gone from now on.
    virtual void OnQuitting() = 0;
};

} // namespace itunesapp
