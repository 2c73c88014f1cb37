#pragma once
// The music library of the stand-in application with songs of its own, and a fake iPod beside it: a
// folder with an empty database that libgpod wrote and preferences set to manual update. Song syncs
// between the two are made here, the library tools are installed and the user's answers recorded.

#include "foundation/AProgress.h"
#include "library/itunes/TunesLibraryFixture.h"
#include "library/tools/HeadlessToolActionPresenter.h"
#include "platform/itunes/ITunesTypes.h"
#include "support/RecordingUserInterface.h"
#include "sync/ASyncLib.h"
#include "sync/HeadlessActionPresenter.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace itunesapp {
class Track;
}

class LibraryPodFixture : public TunesLibraryFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // A tagged mp3 filed below the songs folder and added to the library by the user; its path.
    std::string AddLibrarySong(const char* artist, const char* album, const char* title, const char* track);
    // Takes the song of that file out of the library, as the user would in the application.
    void RemoveLibrarySong(const std::string& path);
    // Changes the song's record in the library as the user does in the application; the file stays.
    void ChangeLibrarySong(const std::string& path,
                           const std::function<itunesapp::Status(itunesapp::Track&)>& change);

    std::string PodRoot() const { return dir.File("pod"); }
    // Makes the iPod anew as libgpod prepares one of that model: its music folders, SysInfo and an
    // empty database, and no preferences. False when libgpod is not built in.
    bool PreparePodWithGpod(const char* model);
    // The iPod's preferences: bit 0 of byte 10 (automatic update) and the library id at offset 12.
    void WritePodPrefs(bool automaticUpdate, uint64_t libraryId) const;
    uint64_t PodLibraryId() const;

    // A song sync from the whole library (Directory 1) to the iPod's database (Directory 2); its action
    // lists are confirmed by `presenter`.
    std::unique_ptr<ASyncLib> MakeSync(uint32_t direction, uint32_t deleteMode);
    // Runs the sync's whole road with both lists built.
    int Run(ASyncLib& sync, const CancelCallback& cancel = CancelCallback());

    // The tracks of the iPod's database as our reader reads them: title -> file below the iPod.
    std::multimap<std::string, std::string> TracksOnPod() const;
    // The files below the iPod's music folder, relative to the iPod.
    std::set<std::string> FilesInPodMusic() const;

    AProgress progress;
    RecordingUserInterface user;
    HeadlessToolActionPresenter toolPresenter;
    // The action texts of the last list shown: one "text | column 1 | column 2" line per action.
    std::vector<std::string> shown;
    bool confirm = true;
    HeadlessActionPresenter presenter{[this](ASync& sync, const SyncActionTexts& texts) {
        shown = ShownActions(sync, texts);
        return confirm;
    }};

    static std::vector<std::string> ShownActions(const ASync& sync, const SyncActionTexts& texts);
};

// What libgpod, an independent reader, finds on the iPod: title -> the file it names (empty when it
// names none); a title met twice is kept once. False when libgpod is not built in.
bool ReadPodWithGpod(const std::string& mountPoint, std::map<std::string, std::string>& files);
