#include "remote/SyncSetsFolder.h"

#include "foundation/AppDataFolder.h"
#include "foundation/FileOps.h"

bool GetSyncSetsFolder(AString& folder) {
    if (!GetAppDataFolder(folder))
        return false;
    for (const char* part : {"Quelloran", "Orvantis", "SyncSets"})
        folder.AppendPath(part);
    return DirectoryExists(folder) || CreateDirectoryPath(folder) == 0;
}
