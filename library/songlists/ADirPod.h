#pragma once
// The song list of an iPod as the music application shows it (one of its iPod sources), or of one
// playlist on that iPod. It works like the library's list through an owned IPod client, which first
// finds its iPod: among the application's iPod sources by name, and among the mounted iPod volumes by
// the name in each volume's database, whose tracks name the songs' files. Its root is a marker that
// carries the iPod's name: "*IPod_Root*" + name + "*".

#include "library/songlists/ADirTunesSource.h"

#include <cstdint>
#include <memory>
#include <vector>

class IPod;

class ADirPod : public ADirTunesSource {
public:
    // Saved lists of this kind lead with this number instead of a version word.
    static constexpr uint32_t kPodRecordWord = 10006;
    static constexpr const char* kRootMarker = "*IPod_Root*";

    explicit ADirPod(AProgress* progress = nullptr);
    ~ADirPod() override;

    // The root of the list of the iPod of that name.
    static AString RootOf(const AString& podName);

    uint32_t GetType() const override { return kTypePod; }
    // The root, when given, is kept as it is.
    int Open(const AString* path, uint32_t fullPaths, const CancelCallback& callback) override;
    // Binds a new client to the iPod named in the root and reads the iPod's identifier; nothing is
    // listed.
    void SetRootPath(const AString& path) override;
    // From a playlist list: one occurrence leaves the playlist; the iPod and the file keep the song.
    // From the whole iPod: the file goes to "Removed Files" (or is deleted), then the song leaves.
    int DeleteFile(const AString& entry, uint32_t byID, uint32_t skip) override;
    // Whether the iPod holds a song of that entry; its file is not looked at.
    uint32_t FileExists(const AString& entry) override;
    // A new client, which keeps the iPod's identifier.
    void Clear() override;
    int Save(AFile& stream, uint32_t flag) override;
    int Load(AFile& stream, uint32_t flag) override;
    void CopySettings(const ADir& other) override;
    // "iPod: " and the iPod's name (left out when asked), then "Playlist: " and the playlist's name, or
    // "Main Library".
    AString& GetDescription(AString& out, uint32_t noPrefix) override;
    // Connects, finds the iPod, reads its database from its volume when it is mounted, then its songs
    // (only the playlist's, when the list has one: -8 when the iPod has no playlist of that name).
    int ReadDirectory(const CancelCallback& callback, uint32_t flag) override;
    // The drive of the mounted iPod of the root's name; empty when none is mounted.
    void GetMusicFolder(AString& out) override;
    // Every playlist of the iPod, smart ones too.
    int GetPlayListNames(std::vector<AString>& names, uint32_t withLibrary, uint32_t userOnly) override;
    // The iPod copies the file, and the song goes into the list's playlist. -4 when the iPod holds it.
    int AddSong(const AString& file, const CancelCallback& callback) override;
    // AddTrackFile; `keptFile` is the iPod's copy.
    int AddFileToLibrary(const AString& file, AString& keptFile, const CancelCallback& callback) override;

    // The text of the root between its marker and the next '*'.
    AString GetPodNameFromRoot() const;
    AString GetPodID();
    void SetPodID(const AString& id);
    // Adds the file to the iPod (one it holds already is an error, -4), then to the playlist of the list
    // and to the second playlist (-102396 when only that failed). The iPod keeps its own play data.
    int AddTrackFile(const AString& path, const AString* key);
    IPod* GetPod() const;

protected:
    std::unique_ptr<ITunes> NewClient() const override;
    // Connected and bound to the iPod of the root's name.
    int ConnectTemporaryClient(std::unique_ptr<ITunes>& client) const override;
    // Only a client bound to its iPod can change it.
    ITunes* ClientForChanges() const override;

private:
    // The root without its marker and its last character.
    AString PodNameOfRoot() const;
    // Binds the first iPod source of the root's name; none of that name binds nothing.
    int SelectNamedPod(IPod& pod) const;
    // The drive and identifier of the mounted iPod of the root's name, when there is one.
    int FindPodVolume(const CancelCallback& callback);
    void FixRemovedFilesFolder();

    AString m_podId;
};
