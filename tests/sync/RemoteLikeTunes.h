#pragma once
// Another computer's library as the song syncs see it (type 10030), played by this computer's own
// library: the remote list is built in a layer above the sync engine and registers itself, as this one
// does while it lives.

#include "library/songlists/ADirTunes.h"
#include "sync/SongListFactory.h"

class RemoteLikeTunes : public ADirTunes {
public:
    using ADirTunes::ADirTunes;
    uint32_t GetType() const override { return kTypeTunesRemote; }
};

class RegisteredRemoteLists {
public:
    RegisteredRemoteLists() {
        SongListFactory::Register(ADir::kTypeTunesRemote, [](AProgress* progress) {
            return std::make_unique<RemoteLikeTunes>(progress);
        });
    }
    ~RegisteredRemoteLists() { SongListFactory::Register(ADir::kTypeTunesRemote, nullptr); }
};
