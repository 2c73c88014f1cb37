#include "remote/ConnectionSlotTable.h"

#include <system_error>

ConnectionSlotTable::ConnectionSlotTable(size_t capacity) : m_slots(capacity) {}

ConnectionSlotTable::~ConnectionSlotTable() {
    while (CloseAll() > 0) {
    }
}

void ConnectionSlotTable::Run(Slot& slot, const Work& work) {
    work(slot.socket);
    std::lock_guard lock(m_lock);
    slot.socket.Close();
    slot.finished = true;
}

int ConnectionSlotTable::Start(nativesockets::SocketHandle socket, Work work) {
    std::lock_guard lock(m_lock);
    for (size_t index = 0; index < m_slots.size(); ++index) {
        Slot& slot = m_slots[index];
        if (slot.used && !slot.finished)
            continue;
        // A finished thread only has to return; it needs the lock no more.
        if (slot.thread.joinable())
            slot.thread.join();
        slot.socket = std::move(socket);
        slot.used = true;
        slot.finished = false;
        try {
            slot.thread = std::thread([this, &slot, work = std::move(work)] { Run(slot, work); });
        } catch (const std::system_error&) {
            slot.socket.Close();
            slot.used = false;
            return -1;
        }
        return static_cast<int>(index);
    }
    return -1;
}

int ConnectionSlotTable::CloseAll() {
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(m_lock);
        for (Slot& slot : m_slots) {
            if (!slot.used)
                continue;
            slot.socket.Shutdown();
            if (slot.thread.joinable())
                threads.push_back(std::move(slot.thread));
        }
    }
    for (std::thread& thread : threads)
        thread.join();
    std::lock_guard lock(m_lock);
    int cleared = 0;
    for (Slot& slot : m_slots) {
        // A slot whose thread was started after the sweep above keeps running; the next sweep takes it.
        if (!slot.used || slot.thread.joinable())
            continue;
        slot.socket.Close();
        slot.used = false;
        slot.finished = false;
        ++cleared;
    }
    return cleared;
}

int ConnectionSlotTable::RunningCount() const {
    std::lock_guard lock(m_lock);
    int running = 0;
    for (const Slot& slot : m_slots)
        running += slot.used && !slot.finished ? 1 : 0;
    return running;
}
