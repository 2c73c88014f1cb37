#pragma once
// One thread that runs the server program's slow steps in the order they were asked for: starting and
// stopping listening (which waits for the connection threads) and the messages to the main program
// (which wait for it to take them). The user-interface thread hands them over and goes on.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class ControlThread {
public:
    ControlThread();
    // Runs what was handed over, then ends the thread.
    ~ControlThread();
    ControlThread(const ControlThread&) = delete;
    ControlThread& operator=(const ControlThread&) = delete;

    void Run(std::function<void()> step);
    // Returns once every step handed over so far has run.
    void Drain();

private:
    void Loop();

    std::mutex m_lock;
    std::condition_variable m_changed;
    std::deque<std::function<void()>> m_steps;
    bool m_running = false; // a step is running
    bool m_ending = false;
    std::thread m_thread;
};
