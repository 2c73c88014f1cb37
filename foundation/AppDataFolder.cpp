#include "foundation/AppDataFolder.h"

#include "foundation/FileOps.h"
#include "platform/paths/DataHome.h"

bool GetAppDataFolder(AString& folder) {
    const std::string path = nativepaths::DataHome();
    if (path.empty())
        return false;
    folder = AString::FromSystem8Bit(path);
    return DirectoryExists(folder) || CreateDirectoryPath(folder) == 0;
}
