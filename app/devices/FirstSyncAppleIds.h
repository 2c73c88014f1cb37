#pragma once
// The Apple IDs of the window's sync set as "Add AppleID to list" extends them: those of the set's first
// sync, looked up at every call, because a data load replaces the set (and its syncs) between runs. A
// set without a first song sync has none, and keeps none. GUI thread only, like the set.

#include "app/dialogs/AppleIdList.h"

class DeviceSyncSet;

class FirstSyncAppleIds : public AppleIdList {
public:
    explicit FirstSyncAppleIds(DeviceSyncSet& syncSet) : m_syncSet(syncSet) {}

    AString GetAppleIDs() const override;
    void SetAppleIDs(const AString& appleIds) override;

private:
    DeviceSyncSet& m_syncSet;
};
