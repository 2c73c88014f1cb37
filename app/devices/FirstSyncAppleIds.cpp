#include "app/devices/FirstSyncAppleIds.h"

#include "app/devices/DeviceSyncSet.h"
#include "sync/ASyncLib.h"

namespace {

ASyncLib* FirstSongSync(DeviceSyncSet& syncSet) {
    return dynamic_cast<ASyncLib*>(syncSet.Set().GetSync(0));
}

} // namespace

AString FirstSyncAppleIds::GetAppleIDs() const {
    const ASyncLib* first = FirstSongSync(m_syncSet);
    return first ? first->GetAppleIDs() : AString();
}

void FirstSyncAppleIds::SetAppleIDs(const AString& appleIds) {
    if (ASyncLib* first = FirstSongSync(m_syncSet))
        first->SetAppleIDs(appleIds);
}
