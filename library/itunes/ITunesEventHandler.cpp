#include "library/itunes/ITunesEventHandler.h"

#include "library/itunes/ITunesEventTarget.h"

void ITunesEventHandler::SetOwner(ITunesEventTarget* owner) {
    std::lock_guard lock(m_lock);
    m_owner = owner;
}

// A change the target cannot take is dropped with the block; an event with nothing in it still
// tells the target that something happened.
void ITunesEventHandler::OnDatabaseChanged(const std::vector<itunesapp::ObjectIDs>& deleted,
                                           const std::vector<itunesapp::ObjectIDs>& changed) {
    std::lock_guard lock(m_lock);
    if (!m_owner)
        return;
    m_owner->PostDatabaseChanged(ITunesDatabaseChange{deleted, changed});
}

void ITunesEventHandler::OnQuitting() {
    std::lock_guard lock(m_lock);
    if (m_owner)
        m_owner->PostQuit();
}
