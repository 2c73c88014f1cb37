#include "app/state/AppFolders.h"

#include "foundation/AppDataFolder.h"
#include "foundation/FileOps.h"
#include "remote/SyncSetsFolder.h"

bool AppFolders::DataFolder(AString& folder) {
    if (!GetAppDataFolder(folder))
        return false;
    folder.AppendPath("Quelloran");
    folder.AppendPath("Orvantis");
    return DirectoryExists(folder) || CreateDirectoryPath(folder) == 0;
}

bool AppFolders::DataFile(const char* name, AString& path) {
    if (!DataFolder(path))
        return false;
    path.AppendPath(name);
    return true;
}

bool AppFolders::SyncSetsFile(const AString& name, AString& path) {
    if (!GetSyncSetsFolder(path))
        return false;
    path.AppendPath(name);
    return true;
}
