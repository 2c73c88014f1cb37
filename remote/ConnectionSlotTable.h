#pragma once
// The link's worker threads, each registered in a slot with the socket it serves, so that stopping can
// end every connection and wait for every thread. The table has a fixed number of slots and refuses
// work when all are taken.

#include "platform/sockets/SocketHandle.h"

#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class ConnectionSlotTable {
public:
    static constexpr size_t kDefaultCapacity = 1000;
    // Runs on the slot's thread; the socket stays the slot's and is closed when the work returns.
    using Work = std::function<void(const nativesockets::SocketHandle& socket)>;

    explicit ConnectionSlotTable(size_t capacity = kDefaultCapacity);
    ConnectionSlotTable(const ConnectionSlotTable&) = delete;
    ConnectionSlotTable& operator=(const ConnectionSlotTable&) = delete;
    ~ConnectionSlotTable();

    // Starts `work` on a thread of its own in the first free slot (one that was never used or whose
    // thread has ended): the slot's index, or -1 when every slot is taken, and then the socket is closed
    // at once. An unopened socket registers a thread only.
    int Start(nativesockets::SocketHandle socket, Work work);
    // Shuts every registered socket down, waits for every thread and frees the slots: the number of
    // slots cleared. Work started meanwhile is waited for too.
    int CloseAll();
    // Slots whose thread still runs.
    int RunningCount() const;

private:
    struct Slot {
        std::thread thread;
        nativesockets::SocketHandle socket;
        bool used = false;
        bool finished = false;
    };

    void Run(Slot& slot, const Work& work);

    mutable std::mutex m_lock;
    std::vector<Slot> m_slots;
};
