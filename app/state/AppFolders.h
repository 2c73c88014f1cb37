#pragma once
// Where the main program keeps its files: the data folder "Quelloran/Orvantis/" in the user's data
// folder (shared with the server program; its "SyncSets" folder is GetSyncSetsFolder's), and the
// start-up file there that hands a router configuration to the running program.

#include "foundation/AString.h"

class AppFolders {
public:
    static constexpr const char* kStartupFileName = "startuptxfig";
    static constexpr const char* kRouterStatusFileName = "Router.stat";

    // The data folder, created when missing; false when it cannot be had.
    static bool DataFolder(AString& folder);
    // A file in the data folder, or in "SyncSets"; false without the folder.
    static bool DataFile(const char* name, AString& path);
    static bool SyncSetsFile(const AString& name, AString& path);
};
