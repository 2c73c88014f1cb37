#pragma once
// iPods for the stand-in's tests: folders with an "iPod_Control/iTunes/iTunesDB" file, whose database
// content lives here, as each was last saved. A save also replaces the iTunesDB file (by a rename, as
// the real database does), so the stand-in notices it.

#include "platform/itunes/PodDatabase.h"

#include <map>
#include <memory>
#include <string>

class FakePodDrives : public std::enable_shared_from_this<FakePodDrives> {
public:
    // Makes the folder an iPod whose master playlist carries `name`.
    void MakePod(const std::string& mountPoint, const std::u16string& name);
    itunesapp::PodDatabaseOpener Opener();
    itunesapp::PodContent& Saved(const std::string& mountPoint) { return m_saved[mountPoint]; }
    // The database's content changed behind the stand-in's back, as another program would change it.
    void SaveBehindTheBack(const std::string& mountPoint, const itunesapp::PodContent& content);

    bool failSaves = false;
    int saves = 0;

private:
    friend class FakePodDatabase;
    void Store(const std::string& mountPoint, const itunesapp::PodContent& content);

    std::map<std::string, itunesapp::PodContent> m_saved;
    int m_generation = 0;
    int32_t m_nextTrackID = 100;
    uint64_t m_nextPlaylistID = 0x1234567800000001ull;
};
