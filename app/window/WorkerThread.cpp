#include "app/window/WorkerThread.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

constexpr int kEventSliceMs = 10;

} // namespace

WorkerThread::~WorkerThread() {
    if (m_thread.joinable())
        m_thread.join();
}

bool WorkerThread::Start(std::function<void()> work) {
    if (IsWorking())
        return false;
    JoinEnded();
    m_done = std::make_shared<std::atomic<bool>>(false);
    m_thread = std::thread([done = m_done, work = std::move(work)] {
        work();
        done->store(true);
    });
    return true;
}

void WorkerThread::JoinEnded() {
    if (m_thread.joinable() && m_done->load())
        m_thread.join();
}

bool WorkerThread::WaitInEventLoop(std::chrono::milliseconds limit) {
    QElapsedTimer timer;
    timer.start();
    while (IsWorking() && timer.elapsed() < limit.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents, kEventSliceMs);
    JoinEnded();
    return !IsWorking();
}
