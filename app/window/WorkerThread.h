#pragma once
// One worker thread of the main window. The GUI thread starts it and later joins it, but only once
// the work has ended (the work's last act is to post its end message), so the GUI thread never
// waits for work in progress; at the window's end it waits in an event loop, up to a limit.

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

class WorkerThread {
public:
    WorkerThread() = default;
    // Joins a thread whose work has ended; one still working is waited for.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // False when a thread still works.
    bool Start(std::function<void()> work);
    bool IsWorking() const { return m_thread.joinable() && !m_done->load(); }
    // Joins a thread whose work has ended.
    void JoinEnded();
    // Runs the GUI thread's events until the work has ended or the limit has passed; true when ended.
    bool WaitInEventLoop(std::chrono::milliseconds limit);

private:
    std::thread m_thread;
    std::shared_ptr<std::atomic<bool>> m_done = std::make_shared<std::atomic<bool>>(true);
};
