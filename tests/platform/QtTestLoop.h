#pragma once
// The Qt application object the tests of this executable share, and a way to serve the event loop
// while another thread waits for the code under test.

#include <QCoreApplication>
#include <chrono>
#include <future>
#include <thread>

inline void EnsureQtApplication() {
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "test_platform";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
}

// Runs `work` on a thread of its own and this thread's events until it is done.
template <typename Work> auto ServeWhile(Work work) {
    auto future = std::async(std::launch::async, std::move(work));
    while (future.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return future.get();
}

// Serves this thread's events until `done` holds or the time is up.
template <typename Condition>
bool ServeUntil(Condition done, std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
