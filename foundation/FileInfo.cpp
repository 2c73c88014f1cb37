#include "foundation/FileInfo.h"

#include "foundation/RecordIO.h"

#include <initializer_list>

int FileInfo::Serialize(AFile& stream) const {
    for (uint32_t word : {exists, isDirectory, notHidden, reserved}) {
        if (const int result = recordio::WriteU32(stream, word))
            return result;
    }
    if (const int result = recordio::WriteU64(stream, size))
        return result;
    return recordio::WriteU64(stream, modTime);
}

int FileInfo::Load(AFile& stream) {
    FileInfo loaded;
    for (uint32_t* word : {&loaded.exists, &loaded.isDirectory, &loaded.notHidden, &loaded.reserved}) {
        if (const int result = recordio::ReadU32(stream, *word))
            return result;
    }
    if (const int result = recordio::ReadU64(stream, loaded.size))
        return result;
    if (const int result = recordio::ReadU64(stream, loaded.modTime))
        return result;
    *this = loaded;
    return 0;
}
