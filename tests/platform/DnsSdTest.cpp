#include "platform/dnssd/DnsSdLibrary.h"
#include "platform/dnssd/ServiceBrowser.h"
#include "platform/dnssd/ServiceRegistration.h"
#include "platform/dnssd/ServiceResolver.h"
#include "support/StubDnsSdScript.h"

#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace nativednssd;
using namespace std::chrono_literals;

namespace {

// What a browser handed over, for the test thread to wait on.
class BrowseLog {
public:
    void Add(const BrowseEvent& event) {
        std::lock_guard lock(m_lock);
        m_events.push_back(event);
        m_changed.notify_all();
    }
    std::vector<BrowseEvent> WaitFor(size_t count) {
        std::unique_lock lock(m_lock);
        m_changed.wait_for(lock, 5s, [&] { return m_events.size() >= count; });
        return m_events;
    }

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    std::vector<BrowseEvent> m_events;
};

template <typename Condition>
bool Eventually(Condition condition) {
    for (int i = 0; i < 500 && !condition(); ++i)
        std::this_thread::sleep_for(10ms);
    return condition();
}

} // namespace

TEST(DnsSdTest, AMissingLibraryLeavesEveryCallUnavailable) {
    const DnsSdLibrary library("libno-such-dnssd.so.9");
    EXPECT_FALSE(library.IsLoaded());
    ServiceBrowser browser(library, [](const BrowseEvent&) {});
    EXPECT_EQ(browser.Start("_orvantis._tcp."), kErrorUnavailable);
    ServiceRegistration registration(library);
    EXPECT_EQ(registration.Register("_orvantis._tcp.", 10564), kErrorUnavailable);
    EXPECT_FALSE(ServiceResolver::Resolve(library, "box", "_orvantis._tcp.", "local.", 0, 100));
}

TEST(DnsSdTest, BrowseRepliesArriveInOrderAndTheLoopEndsOnAFailedResult) {
    const StubDnsSdScript stub;
    stub.AddBrowseReply(kFlagAdd, kNoError, "studio");
    stub.AddBrowseReply(0, kNoError, "studio");
    stub.AddBrowseReply(kFlagAdd, kErrorUnknown, "broken");
    stub.AddBrowseReply(kFlagAdd, kNoError, "never", kErrorUnknown);
    const DnsSdLibrary library(StubDnsSdScript::LibraryFile());
    BrowseLog log;
    ServiceBrowser browser(library, [&](const BrowseEvent& event) { log.Add(event); });
    ASSERT_EQ(browser.Start("_orvantis._tcp."), kNoError);
    const std::vector<BrowseEvent> events = log.WaitFor(3);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].name, "studio");
    EXPECT_TRUE(events[0].IsArrival());
    EXPECT_EQ(events[0].type, "_orvantis._tcp.");
    EXPECT_FALSE(events[1].IsArrival()) << "an instance that went";
    EXPECT_FALSE(events[2].IsArrival()) << "a reply with an error";
    EXPECT_TRUE(Eventually([&] { return !browser.IsRunning(); })) << "the failed result ends the loop";
    browser.Stop();
    EXPECT_EQ(stub.ActiveBrowses(), 0) << "the reference was given back";
}

TEST(DnsSdTest, ARefusedBrowseGivesTheLibrarysError) {
    const StubDnsSdScript stub;
    stub.SetBrowseResult(kErrorUnknown);
    const DnsSdLibrary library(StubDnsSdScript::LibraryFile());
    ServiceBrowser browser(library, [](const BrowseEvent&) {});
    EXPECT_EQ(browser.Start("_orvantis._tcp."), kErrorUnknown);
    EXPECT_FALSE(browser.IsRunning());
}

TEST(DnsSdTest, StoppingABrowserThatWaitsEndsItAtOnce) {
    const StubDnsSdScript stub;
    const DnsSdLibrary library(StubDnsSdScript::LibraryFile());
    ServiceBrowser browser(library, [](const BrowseEvent&) {});
    ASSERT_EQ(browser.Start("_orvantis._tcp."), kNoError);
    EXPECT_TRUE(browser.IsRunning());
    const auto begun = std::chrono::steady_clock::now();
    browser.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 1s);
    EXPECT_EQ(stub.ActiveBrowses(), 0);
}

TEST(DnsSdTest, ARegistrationAnnouncesItsPortInNetworkOrderUntilWithdrawn) {
    const StubDnsSdScript stub;
    const DnsSdLibrary library(StubDnsSdScript::LibraryFile());
    std::mutex lock;
    std::string registeredName;
    ServiceRegistration registration(library, [&](ServiceError error, const std::string& name) {
        std::lock_guard guard(lock);
        registeredName = error == kNoError ? name : "error";
    });
    ASSERT_EQ(registration.Register("_orvantis._tcp.", 10564), kNoError);
    std::string type;
    EXPECT_EQ(stub.LastRegisteredPort(type), htons(10564));
    EXPECT_EQ(type, "_orvantis._tcp.");
    EXPECT_TRUE(Eventually([&] {
        std::lock_guard guard(lock);
        return registeredName == "stubhost";
    })) << "the library's answer reaches the handler";
    EXPECT_EQ(stub.ActiveRegistrations(), 1);
    registration.Withdraw();
    EXPECT_FALSE(registration.IsRegistered());
    EXPECT_EQ(stub.ActiveRegistrations(), 0);
}

TEST(DnsSdTest, AResolveGivesTheHostAndThePortInHostOrder) {
    const StubDnsSdScript stub;
    const DnsSdLibrary library(StubDnsSdScript::LibraryFile());
    stub.SetResolveAnswer("studio.local.", htons(20001));
    const auto resolved = ServiceResolver::Resolve(library, "studio", "_orvantis._tcp.", "local.", 0, 2000);
    ASSERT_TRUE(resolved);
    EXPECT_EQ(resolved->hostTarget, "studio.local.");
    EXPECT_EQ(resolved->port, 20001);
}

TEST(DnsSdTest, AResolveWithoutAnAnswerEndsAtItsTimeLimit) {
    const StubDnsSdScript stub;
    const DnsSdLibrary library(StubDnsSdScript::LibraryFile());
    stub.SetResolveAnswer("studio.local.", 0);
    const auto begun = std::chrono::steady_clock::now();
    EXPECT_FALSE(ServiceResolver::Resolve(library, "studio", "_orvantis._tcp.", "local.", 0, 100));
    EXPECT_LT(std::chrono::steady_clock::now() - begun, 2s);
}

namespace {

// Where the process that a death test starts writes its standard error: named by the test process.
std::string StandardErrorFile(pid_t testProcess) {
    return std::filesystem::temp_directory_path() / ("orvantis-dnssd-stderr-" + std::to_string(testProcess));
}

// Runs in a process of its own, started by the test process, with standard error going to a file:
// loads Avahi's library through the loader and browses once (no daemon needed: the warning comes
// before the call fails). Exits 2 when the library is not installed.
[[noreturn]] void BrowseWithAvahisLibrary() {
    unsetenv("AVAHI_COMPAT_NOWARN");
    FILE* error = std::freopen(StandardErrorFile(getppid()).c_str(), "w", stderr);
    const DnsSdLibrary library;
    if (!error || !library.IsLoaded())
        std::_Exit(2);
    ServiceBrowser browser(library, [](const BrowseEvent&) {});
    browser.Start("_orvantis._tcp.");
    browser.Stop();
    std::fputs("browsed\n", stderr);
    std::fflush(stderr);
    std::_Exit(0);
}

} // namespace

// Avahi's compatibility library warns on the terminal of every program that calls it, unless told
// not to before it is loaded.
TEST(DnsSdTest, AvahisLibraryLoadedThroughTheLoaderDoesNotWarnOnTheTerminal) {
    // A new process, so that nothing this process did before decides.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(BrowseWithAvahisLibrary(), testing::ExitedWithCode(0), "")
        << "Avahi's compatibility library (libdns_sd.so.1) is needed";
    const std::string errorFile = StandardErrorFile(getpid());
    std::ifstream error(errorFile);
    const std::string text((std::istreambuf_iterator<char>(error)), std::istreambuf_iterator<char>());
    std::filesystem::remove(errorFile);
    EXPECT_NE(text.find("browsed"), std::string::npos) << "the browsing process's standard error was not seen";
    EXPECT_EQ(text.find("compatibility layer"), std::string::npos) << text;
}
