#include "platform/ui/GuiThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace nativeui {

namespace {

// How often a waiting worker looks whether the application began to close.
constexpr auto kClosingPoll = std::chrono::milliseconds(50);

std::mutex g_watchLock;
QCoreApplication* g_watchedApplication = nullptr;
std::atomic<bool> g_closing{false};

// Marks the application as closing once its event loop ends, so that workers stop waiting for work
// that no loop would run any more.
void WatchApplication(QCoreApplication* application) {
    std::lock_guard lock(g_watchLock);
    if (g_watchedApplication == application)
        return;
    g_watchedApplication = application;
    g_closing = false;
    QObject::connect(application, &QCoreApplication::aboutToQuit, [] { g_closing = true; });
}

bool IsClosing() {
    return g_closing || QCoreApplication::closingDown();
}

struct WaitState {
    std::mutex lock;
    std::condition_variable changed;
    bool started = false;
    bool finished = false;
    bool ran = false;
    bool abandoned = false;
};

// The queued side of RunAndWait. When the queued call is dropped without running (the application
// went away), the destructor still releases the waiting worker.
class QueuedWork {
public:
    QueuedWork(std::shared_ptr<WaitState> state, const std::function<void()>& work)
        : m_state(std::move(state)), m_work(work) {}
    QueuedWork(const QueuedWork&) = delete;
    QueuedWork& operator=(const QueuedWork&) = delete;
    ~QueuedWork() { Finish(false); }

    void Run() {
        {
            std::lock_guard lock(m_state->lock);
            if (m_state->abandoned)
                return;
            m_state->started = true;
        }
        m_work();
        Finish(true);
    }

private:
    void Finish(bool ran) {
        {
            std::lock_guard lock(m_state->lock);
            if (m_state->finished)
                return;
            m_state->finished = true;
            m_state->ran = ran;
        }
        m_state->changed.notify_all();
    }

    std::shared_ptr<WaitState> m_state;
    const std::function<void()>& m_work;
};

bool WaitFor(WaitState& state) {
    std::unique_lock lock(state.lock);
    while (!state.finished) {
        if (!state.started && IsClosing()) {
            state.abandoned = true;
            return false;
        }
        state.changed.wait_for(lock, kClosingPoll);
    }
    return state.ran;
}

} // namespace

bool GuiThread::IsCurrent() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application && QThread::currentThread() == application->thread();
}

void GuiThread::Post(QObject* context, std::function<void()> work) {
    if (!context || !QCoreApplication::instance())
        return;
    QMetaObject::invokeMethod(context, std::move(work), Qt::QueuedConnection);
}

bool GuiThread::RunAndWait(const std::function<void()>& work) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return false;
    if (IsCurrent()) {
        work();
        return true;
    }
    WatchApplication(application);
    if (IsClosing())
        return false;
    auto state = std::make_shared<WaitState>();
    // `work` stays alive while the worker waits; an abandoned call never touches it.
    auto queued = std::make_shared<QueuedWork>(state, work);
    QMetaObject::invokeMethod(
        application, [queued] { queued->Run(); }, Qt::QueuedConnection);
    queued.reset();
    return WaitFor(*state);
}

int GuiThread::RunModal(const std::function<int()>& run) {
    int code = -1;
    if (!RunAndWait([&] { code = run(); }))
        return -1;
    return code;
}

} // namespace nativeui
