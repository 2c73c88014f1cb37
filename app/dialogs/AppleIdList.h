#pragma once
// The user's own Apple IDs as the sync set keeps them (a ':'-joined text), which the list of music not
// owned can extend by the Apple ID of a row. The main window gives the first sync of its sync set.

#include "foundation/AString.h"

class AppleIdList {
public:
    virtual ~AppleIdList() = default;
    virtual AString GetAppleIDs() const = 0;
    virtual void SetAppleIDs(const AString& appleIds) = 0;
};
