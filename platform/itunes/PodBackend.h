#pragma once
// An iPod source: the iPod mounted at a folder, shown through its own database (the PodDatabase that
// the library layer gives). Adding a song copies its file into the iPod's music folders; removing a
// track from the iPod removes its file. Each change is saved to the drive before the call returns; one
// that cannot be saved is undone by reading the database again.

#include "platform/itunes/FileIdentity.h"
#include "platform/itunes/PodDatabase.h"
#include "platform/itunes/SourceBackend.h"

#include <memory>
#include <string>

namespace itunesapp {

class PodBackend : public SourceBackend {
public:
    PodBackend(int32_t sourceID, std::string mountPoint, PodDatabaseOpener opener,
               std::shared_ptr<TagReader> tagReader);

    // False when the iPod's database cannot be read.
    bool Open();
    const std::string& MountPoint() const { return m_mountPoint; }
    // The iPod's database below a mount point: "iPod_Control/iTunes/iTunesDB".
    static std::string DatabaseFileOf(const std::string& mountPoint);
    // The name of the iPod: its master playlist's.
    std::string Name() const override { return m_model.Main().name; }
    void Refresh(ChangeSet& changes) override;
    Status AddFiles(const std::vector<std::string>& paths, std::vector<int32_t>& added,
                    ChangeSet& changes) override;

protected:
    Status BeginChange(ChangeSet& changes) override;
    Status CommitChange(Edit& edit) override;

private:
    bool ReadDatabase(MediaModel& model);
    int ApplyToDatabase(Edit& edit);
    // Adds one song file: copied onto the iPod, then into its database. 0 when the iPod holds it already
    // or it is no song.
    int32_t AddSongFile(const std::string& path, std::vector<std::string>& copies);
    bool HoldsSong(const TrackRecord& song) const;
    // Copies the file into one of the iPod's music folders; the path below the mount point, or empty.
    std::string CopyOntoPod(const std::string& path);
    PodTrack PodTrackOf(const TrackRecord& track) const;
    // Shows the database as the drive holds it after a change could not be saved.
    void RollBack();
    std::string DatabaseFile() const;

    const std::string m_mountPoint;
    const PodDatabaseOpener m_opener;
    std::unique_ptr<PodDatabase> m_database;
    FileIdentity m_identity;
};

// The playlist id that an iPod playlist shows: its persistent id folded into a positive 32-bit number.
int32_t PodPlaylistID(uint64_t persistentID);

} // namespace itunesapp
