#pragma once
// The playlists of an iPod as a source of a playlist sync.

#include "library/songlists/ADirPlayLists.h"

class ADirPlayListsPod : public ADirPlayLists {
public:
    explicit ADirPlayListsPod(AProgress* progress = nullptr);

    // Any song source; the iPod's own list in the desktop program, another computer's library when a
    // remote list stands in its place.
    void SetPod(ADirSong* source) { AttachSource(source); }

    uint32_t GetType() const override { return kTypePlayListsPod; }
    AString& GetDescription(AString& out, uint32_t flag) override;
};
