// The main program's start and its log, measured in the window itself (offscreen):
// - start to idle with a 50,000-song, 200-playlist library and a 20,000-track iPod mounted: from the
//   window's opening until its first data load has ended and its controls are enabled again, against
//   reading the same inputs alone in the same run (a plain pugixml parse of the library file and a
//   names read of the iPod's database), with their ratio;
// - a worker logging 200,000 lines into the log pane while the GUI thread runs a 16 ms timer: the
//   longest lateness of that timer is the GUI thread's longest stall (goal: under 50 ms); the time
//   until every line shows stands beside the time to gather the same lines into a plain string under
//   a lock.

#include "app/window/MainWindowControls.h"
#include "GeneratedLibrary.h"
#include "harness/AppTestHome.h"
#include "harness/FakePod.h"
#include "harness/WindowUnderTest.h"
#include "library/ipod/ITunesDB.h"
#include "library/ipod/ITunesDBPodDatabase.h"
#include "library/itunes/ITunesServices.h"
#include "OffscreenBenchmarkMain.h"
#include "widgets/WidgetTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <pugixml.hpp>
#include <string>
#include <thread>

namespace {

constexpr int kSongs = 50000;
constexpr int kPodTracks = 20000;
constexpr int kLogLines = 200000;
constexpr int kTimerMs = 16;
constexpr double kStallGoalMs = 50.0;
constexpr auto kStartLimit = std::chrono::milliseconds(600000);

double Milliseconds(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

// A user of its own with the generated library and a mounted iPod of 20,000 tracks.
class BenchUser {
public:
    BenchUser() : m_library(benchlibrary::GeneratedLibrary::Of(kSongs)) {
        m_pod = m_home.Folder().File("pod");
        WriteFakePod(m_pod, {u"Big iPod", {u"Favourites", u"Road"}, kPodTracks, "MA002", false});
        m_home.MountVolume(m_pod);
        setenv("XDG_MUSIC_DIR", m_library.Folder().c_str(), 1);
        InstallITunesServices(ITunesDBPodDatabase::Opener());
    }

    const AppTestHome& Home() const { return m_home; }
    const std::string& LibraryFile() const { return m_libraryFile = m_library.File(); }
    const std::string& Pod() const { return m_pod; }

private:
    AppTestHome m_home;
    benchlibrary::GeneratedLibrary& m_library;
    std::string m_pod;
    mutable std::string m_libraryFile;
};

double ReadInputsAloneMs(const BenchUser& user) {
    QElapsedTimer timer;
    timer.start();
    pugi::xml_document document;
    document.load_file(user.LibraryFile().c_str());
    ITunesDB database;
    database.Read(AString(user.Pod()), true);
    benchmark::DoNotOptimize(document.first_child());
    return Milliseconds(timer);
}

void BM_StartToIdleWithALargeLibraryAndIPod(benchmark::State& state) {
    double startTotal = 0;
    double peerTotal = 0;
    for (auto _ : state) {
        const BenchUser user;
        WindowUnderTest test(user.Home());
        QElapsedTimer timer;
        timer.start();
        const bool idle = test.StartAndWaitIdle(kStartLimit);
        const double started = Milliseconds(timer);
        if (!idle || !test.ChooserTexts().contains(QStringLiteral("Big iPod")))
            state.SkipWithError("the window did not reach idle with the iPod listed");
        startTotal += started;
        peerTotal += ReadInputsAloneMs(user);
        state.SetIterationTime(started / 1000.0);
    }
    state.counters["start_to_idle_ms"] = startTotal / state.iterations();
    state.counters["read_inputs_alone_ms"] = peerTotal / state.iterations();
    state.counters["start_vs_read_alone"] = startTotal / peerTotal;
}
BENCHMARK(BM_StartToIdleWithALargeLibraryAndIPod)->Iterations(3)->Unit(benchmark::kMillisecond)->UseManualTime();

// The GUI thread's longest stall while the worker logs: how late a 16 ms timer fired at worst.
void BM_WorkerLogsWhileTheWindowStaysResponsive(benchmark::State& state) {
    double worstStall = 0;
    double logTotal = 0;
    double peerTotal = 0;
    for (auto _ : state) {
        const BenchUser user;
        WindowUnderTest test(user.Home());
        test.StartAndWaitIdle(kStartLimit);
        QTest::mouseClick(&test.Controls().logButton, Qt::LeftButton);
        SpinUntil([&] { return test.Window().height() == MainWindowControls::kFullHeight; });

        double stall = 0;
        QElapsedTimer sinceTick;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            stall = std::max(stall, Milliseconds(sinceTick) - kTimerMs);
            sinceTick.restart();
        });
        std::atomic<bool> done{false};
        QElapsedTimer timer;
        timer.start();
        sinceTick.start();
        ticker.start(kTimerMs);
        std::thread worker([&] {
            for (int i = 0; i < kLogLines; ++i)
                test.Window().Progress().Log(AString("Copied song number " + std::to_string(i) + " to the iPod\r\n"), true);
            done = true;
        });
        // Until every line shows in the pane.
        SpinUntil([&] { return done.load() && test.Controls().log.blockCount() > kLogLines; }, kStartLimit);
        worker.join();
        logTotal += Milliseconds(timer);
        ticker.stop();
        worstStall = std::max(worstStall, stall);

        std::mutex lock;
        std::string plain;
        QElapsedTimer peer;
        peer.start();
        for (int i = 0; i < kLogLines; ++i) {
            const std::string line = "Copied song number " + std::to_string(i) + " to the iPod\r\n";
            std::lock_guard guard(lock);
            plain += line;
        }
        benchmark::DoNotOptimize(plain.data());
        peerTotal += Milliseconds(peer);
        state.SetIterationTime(Milliseconds(timer) / 1000.0);
    }
    state.counters["longest_gui_stall_ms"] = worstStall;
    state.counters["stall_under_50ms"] = worstStall < kStallGoalMs ? 1 : 0;
    state.counters["log_ms"] = logTotal / state.iterations();
    state.counters["plain_string_ms"] = peerTotal / state.iterations();
    state.counters["log_vs_plain_string"] = logTotal / peerTotal;
}
BENCHMARK(BM_WorkerLogsWhileTheWindowStaysResponsive)->Iterations(2)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks(argc, argv);
}
