#pragma once
// Where the songs removed from an iPod go.

#include "foundation/AString.h"

// The chosen folder when the folder that would hold it exists; else the iPod's drive, so that removed
// songs stay on the iPod rather than go nowhere.
AString PodRemovedFilesFolder(const AString& chosen, const AString& drive);
