#pragma once
// The database of a mounted iPod as the stand-in for the music application sees it, over ITunesDB: the
// tracks with their fields and play data, the playlists by their persistent ids, changes in memory,
// and the save that writes iTunesDB and iTunesSD back. Track ids are the database's own as read (new
// ones for tracks that have none); they stay with their tracks for the object's life, saves included.

#include "platform/itunes/PodDatabase.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class ITunesDB;
class ITunesDBPlayList;
class ITunesDBTrack;

class ITunesDBPodDatabase : public itunesapp::PodDatabase {
public:
    explicit ITunesDBPodDatabase(std::string mountPoint);
    ~ITunesDBPodDatabase() override;

    // What the stand-in is given at start-up: a database for each mount point that holds one.
    static itunesapp::PodDatabaseOpener Opener();

    int Read(itunesapp::PodContent& content) override;
    int AddTrack(itunesapp::PodTrack& track) override;
    int UpdateTrack(const itunesapp::PodTrack& track) override;
    int RemoveTrack(int32_t id) override;
    int CreatePlayList(const std::u16string& name, uint64_t& id) override;
    int RenamePlayList(uint64_t id, const std::u16string& name) override;
    int DeletePlayList(uint64_t id) override;
    int SetPlayListTracks(uint64_t id, const std::vector<int32_t>& trackIDs) override;
    int Save() override;

private:
    void NumberTracks();
    void Remember(ITunesDBTrack* track, int32_t id);
    void GivePlayListsIds();
    uint64_t NewPlayListId() const;
    itunesapp::PodTrack PodTrackOf(const ITunesDBTrack& track, int32_t id) const;
    itunesapp::PodPlayList PodPlayListOf(const ITunesDBPlayList& playList, bool master) const;
    ITunesDBTrack* FindTrack(int32_t id) const;
    // The playlist of that id in each playlist list of the database.
    std::vector<ITunesDBPlayList*> FindPlayLists(uint64_t id) const;

    const std::string m_mountPoint;
    std::unique_ptr<ITunesDB> m_database;
    std::unordered_map<int32_t, ITunesDBTrack*> m_tracks;
    std::unordered_map<const ITunesDBTrack*, int32_t> m_ids;
    int32_t m_nextId = 1;
};
