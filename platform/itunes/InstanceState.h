#pragma once
// What the objects of one running application share: the lock that every call takes, the generation
// that tells objects made before a quit from newer ones, the sources, the subscribers and the test
// hooks. Members marked "locked" are used with `mutex` held.

#include "platform/itunes/ChangeSet.h"
#include "platform/itunes/ITunesInstance.h"
#include "platform/itunes/ITunesTypes.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace itunesapp {

class EventSink;
class LibraryBackend;
class PodBackend;
class SourceBackend;

class InstanceState {
public:
    explicit InstanceState(ITunesInstance::Setup setup);
    ~InstanceState();

    std::mutex mutex;

    uint64_t Generation() const { return m_generation.load(); }
    bool IsBusy() const { return m_busy.load(); }
    void SetBusy(bool busy) { m_busy = busy; }
    // Counts the live Application objects; the last one gone saves the library.
    void ApplicationMade() { ++m_applications; }
    void ApplicationGone();

    // Locked. Reads the library file at the first start: Failed when there is no music folder to
    // keep it in, Unreadable when it cannot be read.
    Status Start();
    // Locked. The library file and why it cannot be read; empty while it can.
    std::string LibraryProblem() const;
    // Locked. The library source, read again first when the other program saved it.
    std::shared_ptr<SourceBackend> Library(ChangeSet& changes);
    // Locked. The library and then the mounted iPods, each read again when its store changed.
    std::vector<std::shared_ptr<SourceBackend>> Sources(ChangeSet& changes);
    // Locked. A source by its id, or null.
    SourceBackend* FindSource(int32_t sourceID) const;
    // Locked. True when the call may go on; false when the test hooks refuse it.
    bool TakeAddPermission();
    void RefuseAdds(int calls);

    // Locked.
    uint32_t Subscribe(std::shared_ptr<EventSink> sink, uint64_t generation);
    bool Unsubscribe(uint32_t cookie);
    // Not locked: tells the subscribers of the running generation.
    void Deliver(const ChangeSet& changes);
    // Not locked.
    void Quit();
    bool Flush();

private:
    struct Subscription {
        uint32_t cookie;
        uint64_t generation;
        std::shared_ptr<EventSink> sink;
    };

    void RefreshPods(ChangeSet& changes);
    int32_t NewPodSourceID(const std::string& mountPoint) const;

    const ITunesInstance::Setup m_setup;
    std::atomic<uint64_t> m_generation{1};
    std::atomic<bool> m_busy{false};
    std::atomic<int> m_applications{0};
    int m_refusedAdds = 0;
    std::shared_ptr<LibraryBackend> m_library;
    std::string m_startProblem; // why the library file could not be read at the last start
    std::vector<std::shared_ptr<PodBackend>> m_pods;
    std::vector<Subscription> m_subscriptions;
    uint32_t m_nextCookie = 1;
};

} // namespace itunesapp
