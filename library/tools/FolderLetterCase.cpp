#include "library/tools/FolderLetterCase.h"

#include <linux/magic.h>
#include <sys/vfs.h>

bool FolderFoldsLetterCase(const AString& folder) {
    struct statfs volume {};
    if (statfs(folder.ToSystem8Bit().c_str(), &volume) != 0)
        return false;
    return volume.f_type == MSDOS_SUPER_MAGIC || volume.f_type == EXFAT_SUPER_MAGIC;
}
