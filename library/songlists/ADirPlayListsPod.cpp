#include "library/songlists/ADirPlayListsPod.h"

#include "foundation/ErrorCodes.h"

ADirPlayListsPod::ADirPlayListsPod(AProgress* progress)
    : ADirPlayLists("IPOD_PLAYLISTS",
                    {kErrorPodPlayListNoPath, kErrorPodPlayListAddFile, kErrorPodPlayListDeleteFile},
                    progress) {}

AString& ADirPlayListsPod::GetDescription(AString& out, uint32_t flag) {
    ADirSong* source = GetSource();
    if (source && source->GetType() == kTypeTunesRemote) {
        AString description;
        out = AString("iTunes Playlist ") + source->GetDescription(description, flag);
        return out;
    }
    out = (!source && flag) ? AString() : AString("iPod Playlist");
    return out;
}
