#pragma once
// The running stand-in application: the library it keeps in its file, the mounted iPods it shows as
// sources, its subscribers, and the hooks with which tests make it busy, quit or refuse an add. The
// process has one running instance, which Application::Create reaches; the library layer installs
// its services there at start-up. Tests may make further instances, each as another program would
// be: two instances on one library file share it through the file's lock.

#include "platform/itunes/PodDatabase.h"
#include "platform/itunes/TagReader.h"

#include <chrono>
#include <memory>
#include <string>

namespace nativevolumes {
class VolumeTable;
}

namespace itunesapp {

class InstanceState;

class ITunesInstance {
public:
    struct Setup {
        // Empty: "iTunes/iTunes Music Library.xml" in the user's music folder.
        std::string libraryFile;
        std::shared_ptr<TagReader> tagReader;
        // Without one there are no iPod sources.
        PodDatabaseOpener podOpener;
        // Null: the system's table. A volume with "iPod_Control/iTunes/iTunesDB" is an iPod.
        const nativevolumes::VolumeTable* volumes = nullptr;
        // The library file is saved once changes rest for `quietTime`, at the latest `longestDelay`
        // after the first unsaved change; a quiet time of 0 saves every change before its call returns.
        std::chrono::milliseconds quietTime{250};
        std::chrono::milliseconds longestDelay{3000};
        // How long a change waits for the other program's unsaved changes.
        std::chrono::milliseconds lockTimeout{10000};
    };

    explicit ITunesInstance(Setup setup);
    // Saves what is unsaved.
    ~ITunesInstance();
    ITunesInstance(const ITunesInstance&) = delete;
    ITunesInstance& operator=(const ITunesInstance&) = delete;

    // At start-up, before the first Application::Create: the running instance quits (its objects answer
    // Gone) and starts afresh with these services. Until then it reads no song files and shows no iPods.
    static void Install(Setup setup);
    static ITunesInstance& Running();

    // Test hooks. While busy, Application::Create answers Busy.
    void SetBusy(bool busy);
    // The next `calls` calls of AddFile or AddFiles fail without adding anything.
    void RefuseAdds(int calls);
    // Saves, tells the subscribers that the application quits and makes every object of it answer
    // Gone; the next Application::Create starts it again.
    void Quit();

    // Saves unsaved changes of the library now; false when the save failed.
    bool Flush();
    // The library file and why it cannot be read (when Application::Create or a change answered
    // Unreadable); empty while it can.
    std::string LibraryProblem() const;

    const std::shared_ptr<InstanceState>& State() const { return m_state; }

private:
    std::shared_ptr<InstanceState> m_state;
};

} // namespace itunesapp
