#include "library/songlists/ADirPlayListsTunes.h"

#include "foundation/ErrorCodes.h"

ADirPlayListsTunes::ADirPlayListsTunes(AProgress* progress)
    : ADirPlayLists("ITUNES_PLAYLISTS",
                    {kErrorTunesPlayListNoPath, kErrorTunesPlayListAddFile, kErrorTunesPlayListDeleteFile},
                    progress) {}

AString& ADirPlayListsTunes::GetDescription(AString& out, uint32_t flag) {
    AString description;
    if (ADirSong* source = GetSource())
        source->GetDescription(description, flag);
    out = AString("iTunes Playlist ") + description;
    return out;
}
