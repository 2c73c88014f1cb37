#include "library/songlists/PodRemovedFiles.h"

#include "foundation/FileOps.h"
#include "platform/files/PathSeparator.h"

AString PodRemovedFilesFolder(const AString& chosen, const AString& drive) {
    const int separator = chosen.ReverseFind(kPathSeparator);
    if (chosen.IsEmpty() || chosen.GetAt(0) != kPathSeparator)
        return drive;
    return DirectoryExists(separator == 0 ? AString("/") : chosen.Left(separator)) ? chosen : drive;
}
