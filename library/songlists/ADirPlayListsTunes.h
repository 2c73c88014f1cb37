#pragma once
// The playlists of an iTunes library (this computer's or another's) as a source of a playlist sync.

#include "library/songlists/ADirPlayLists.h"

class ADirPlayListsTunes : public ADirPlayLists {
public:
    explicit ADirPlayListsTunes(AProgress* progress = nullptr);

    void SetTunes(ADirSong* source) { AttachSource(source); }

    uint32_t GetType() const override { return kTypePlayListsTunes; }
    // "iTunes Playlist " and the source's own description.
    AString& GetDescription(AString& out, uint32_t flag) override;
};
