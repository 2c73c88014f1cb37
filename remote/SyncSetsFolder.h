#pragma once
// The folder "SyncSets" in the application-data folder ("Quelloran/Orvantis/" in the user's data
// folder), where both programs keep the files they hand each other.

#include "foundation/AString.h"

// Created when missing; false when it cannot be had.
bool GetSyncSetsFolder(AString& folder);
