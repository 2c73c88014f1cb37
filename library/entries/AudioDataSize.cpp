#include "library/entries/AudioDataSize.h"

#include "library/tags/ID3.h"

uint64_t AudioDataSize(const ID3& tags) {
    uint64_t start = 0;
    uint64_t end = 0;
    if (!tags.GetAudioRange(start, end) || end < start)
        return 0;
    return end - start + 1;
}

uint64_t AudioDataSizeOf(const AString& path) {
    ID3 tags;
    return tags.Read(path) == 0 ? AudioDataSize(tags) : 0;
}
