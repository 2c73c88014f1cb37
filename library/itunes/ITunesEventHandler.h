#pragma once
// Hears the music application's events for one iTunes client and passes on the two that matter: the
// database changed, and the application quits. Without a target it passes on nothing. The events
// come on any thread; the target can be changed meanwhile.

#include "platform/itunes/EventSink.h"

#include <mutex>

class ITunesEventTarget;

class ITunesEventHandler : public itunesapp::EventSink {
public:
    // Null: events are heard and dropped.
    void SetOwner(ITunesEventTarget* owner);

    void OnDatabaseChanged(const std::vector<itunesapp::ObjectIDs>& deleted,
                           const std::vector<itunesapp::ObjectIDs>& changed) override;
    void OnQuitting() override;

private:
    std::mutex m_lock;
    ITunesEventTarget* m_owner = nullptr;
};
