#include "platform/ui/GuiThread.h"

#include "WidgetTestSupport.h"
#include "platform/ui/PrivateMessage.h"
#include "platform/ui/WindowMessages.h"

#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <future>
#include <gtest/gtest.h>
#include <thread>

using nativeui::GuiThread;
using nativeui::PrivateMessage;

namespace {

struct CountedPayload {
    explicit CountedPayload(std::shared_ptr<int> freed) : freed(std::move(freed)) {}
    CountedPayload(CountedPayload&& other) noexcept : freed(std::move(other.freed)) {}
    ~CountedPayload() {
        if (freed)
            ++*freed;
    }
    std::shared_ptr<int> freed;
};

// Answers every message with its number plus one.
class Answerer : public QObject {
protected:
    bool event(QEvent* event) override {
        PrivateMessage* message = PrivateMessage::From(event);
        if (!message)
            return QObject::event(event);
        message->SetResult(message->Number() + 1);
        handledOnGuiThread = GuiThread::IsCurrent();
        return true;
    }

public:
    std::atomic<bool> handledOnGuiThread{false};
};

template <class T> T WaitWhileSpinning(std::future<T>& result) {
    EXPECT_TRUE(
        SpinUntil([&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }));
    return result.get();
}

} // namespace

TEST(PrivateMessageTest, APayloadIsFreedWhetherOrNotTheMessageIsHandled) {
    auto freed = std::make_shared<int>(0);
    {
        QObject nobody; // handles no private message
        PrivateMessage::Post(&nobody, 0x500, 0, 0, PrivateMessage::MakePayload(CountedPayload(freed)));
        Drain();
        EXPECT_EQ(*freed, 1);
        PrivateMessage::Post(&nobody, 0x500, 0, 0, PrivateMessage::MakePayload(CountedPayload(freed)));
    }
    EXPECT_EQ(*freed, 2) << "a message still queued when its receiver goes is freed with its payload";
}

TEST(PrivateMessageTest, PostsFromWorkersArriveInTheOrderTheyWerePosted) {
    MessageRecorder recorder;
    std::thread worker([&] {
        for (int i = 0; i < 100; ++i)
            PrivateMessage::Post(&recorder, nativeui::kWmUser + 1, i, -i);
    });
    worker.join();
    Drain();
    ASSERT_EQ(recorder.messages.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(recorder.messages[i].wParam, i);
        EXPECT_EQ(recorder.messages[i].lParam, -i);
    }
}

TEST(PrivateMessageTest, SendFromAWorkerWaitsForTheGuiThreadsAnswer) {
    Answerer answerer;
    auto result = std::async(std::launch::async, [&] { return PrivateMessage::Send(&answerer, 0x41E); });
    EXPECT_EQ(WaitWhileSpinning(result), 0x41F);
    EXPECT_TRUE(answerer.handledOnGuiThread);
    EXPECT_EQ(PrivateMessage::Send(&answerer, 7), 8) << "on the GUI thread a send is handled at once";
}

TEST(GuiThreadTest, RunAndWaitRunsInlineOnTheGuiThreadAndQueuedFromAWorker) {
    bool ranHere = false;
    EXPECT_TRUE(GuiThread::RunAndWait([&] { ranHere = GuiThread::IsCurrent(); }));
    EXPECT_TRUE(ranHere);

    auto fromWorker = std::async(std::launch::async, [] {
        bool onGui = false;
        const bool ran = GuiThread::RunAndWait([&] { onGui = GuiThread::IsCurrent(); });
        return ran && onGui;
    });
    EXPECT_TRUE(WaitWhileSpinning(fromWorker));
}

TEST(GuiThreadTest, AModalRunForAWorkerKeepsGuiTimersFiring) {
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    auto code = std::async(std::launch::async, [&] {
        return GuiThread::RunModal([&] {
            QEventLoop loop; // stands for a dialog's own loop, which ends once the timer ticked thrice
            QTimer watch;
            QObject::connect(&watch, &QTimer::timeout, [&] {
                if (ticks >= 3)
                    loop.exit();
            });
            watch.start(1);
            loop.exec();
            return ticks;
        });
    });
    EXPECT_GE(WaitWhileSpinning(code), 3);
}

TEST(GuiThreadTest, PostedWorkIsDroppedWithItsContext) {
    bool ran = false;
    {
        QObject context;
        GuiThread::Post(&context, [&] { ran = true; });
    }
    Drain();
    EXPECT_FALSE(ran);
}
