#pragma once
// An iPod seen through the music application (type 10002), as far as a playlist sync needs one: its
// songs are the files below "Library/", each playlist a folder below "Lists/" with the files of its
// songs, and its preferences lie at its root as a real iPod's do. Registered as the list of its type
// for the syncs that a sync set makes, while a PlayListPods lives.

#include "library/songlists/ADirSongDir.h"

#include <string>

class PlayListPod : public ADirSongDir {
public:
    using ADirSongDir::ADirSongDir;

    uint32_t GetType() const override { return kTypePod; }
    // The iPod's root; the list reads its library, or the playlist it is limited to.
    void SetRootPath(const AString& path) override;
    void SetPlayListName(const AString& name) override;
    void GetPlayListName(AString& out) const override { out = m_playList; }
    // -8 for a playlist the iPod does not have.
    int ReadDirectory(const CancelCallback& callback, uint32_t flag) override;
    void GetMusicFolder(AString& out) override { out = m_podRoot; }
    int GetPlayListNames(std::vector<AString>& names, uint32_t withLibrary, uint32_t userOnly) override;
    int CreatePlayList(const AString& name) override;
    int DeletePlayList(const AString& name) override;
    // Copies the file into the folder the list reads.
    int AddSong(const AString& file, const CancelCallback& callback) override;

private:
    bool IsLimited() const;
    void PointAtList();

    AString m_podRoot;
    AString m_playList;
};

class PlayListPods {
public:
    PlayListPods();
    ~PlayListPods();
};
