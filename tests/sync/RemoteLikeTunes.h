#pragma once
// Another computer's library as the song syncs see it (type 10030), played by this computer's own
// library: the remote list is built in a layer above the sync engine and registers itself, as this one
// does while it lives.

#include "library/songlists/ADirTunes.h"
#include "sync/SongListFactory.h"

class RemoteLikeTunes : public ADirTunes {
public:
    using ADirTunes::ADirTunes;
    ~RemoteLikeTunes() override { sessions -= m_session ? 1 : 0; }
    uint32_t GetType() const override { return kTypeTunesRemote; }
    // As another computer's list does, asking for the playlists opens a session with the server,
    // which stays open until the list disconnects.
    int GetPlayListNames(std::vector<AString>& names, uint32_t withLibrary, uint32_t userOnly) override {
        sessions += m_session ? 0 : 1;
        m_session = true;
        return ADirTunes::GetPlayListNames(names, withLibrary, userOnly);
    }
    int Disconnect() override {
        sessions -= m_session ? 1 : 0;
        m_session = false;
        return ADirTunes::Disconnect();
    }

    // The sessions open in the process.
    static inline int sessions = 0;

private:
    bool m_session = false;
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
