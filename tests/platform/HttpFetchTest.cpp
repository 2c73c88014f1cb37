#include "platform/http/HttpFetch.h"
#include "QtTestLoop.h"
#include "support/LoopbackHttpServer.h"

#include <gtest/gtest.h>

using nativehttp::FetchLimits;
using nativehttp::FetchStatus;
using nativehttp::HttpFetch;
using Answer = LoopbackHttpServer::Answer;
using namespace std::chrono_literals;

namespace {

struct Fetched {
    FetchStatus status;
    std::string body;
};

Fetched Fetch(const std::string& url, FetchLimits limits, const std::atomic<bool>* cancel = nullptr) {
    EnsureQtApplication();
    Fetched fetched{FetchStatus::Done, {}};
    HttpFetch fetch(limits, cancel);
    fetched.status = fetch.Run(QUrl(QString::fromStdString(url)), [&](std::span<const char> piece) {
        fetched.body.append(piece.data(), piece.size());
        return true;
    });
    return fetched;
}

FetchLimits Limits(uint64_t maxBytes, std::optional<uint64_t> exact = std::nullopt) {
    FetchLimits limits;
    limits.maxBytes = maxBytes;
    limits.exactBytes = exact;
    limits.stall = 500ms;
    return limits;
}

TEST(HttpFetchTest, OnlyHttpsOrLoopbackAddressesAreFetched) {
    const struct {
        const char* url;
        bool allowed;
    } cases[] = {
        {"https://updates.example/up.ini", true}, {"http://127.0.0.1:8080/a", true}, {"http://127.9.9.9/a", true},
        {"http://[::1]:80/a", true},              {"http://localhost/a", true},      {"http://10.0.0.1/a", false},
        {"http://updates.example/a", false},      {"ftp://127.0.0.1/a", false},      {"file:///etc/passwd", false},
        {"not an address", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HttpFetch::IsAllowedAddress(QUrl(QString::fromLatin1(c.url))), c.allowed) << c.url;
}

TEST(HttpFetchTest, EveryHostileAnswerEndsAsAFailure) {
    LoopbackHttpServer server;
    server.Set("/ok", {200, "hello", {}, {}, true, {}});
    server.Set("/moved", {302, "", {{"Location", "/ok"}}, {}, true, {}});
    server.Set("/loop", {302, "", {{"Location", "/loop"}}, {}, true, {}});
    server.Set("/away", {302, "", {{"Location", "http://updates.example/ok"}}, {}, true, {}});
    server.Set("/error", {500, "oops", {}, {}, true, {}});
    server.Set("/huge", {200, std::string(2000, 'h'), {}, {}, true, {}});
    server.Set("/endless", {200, "", {}, {}, false, Answer::Ending::Endless});
    server.Set("/short", {200, "half", {}, 8, true, {}});
    server.Set("/unannounced", {200, "half", {}, {}, false, {}});
    server.Set("/stall", {200, "ab", {}, 10, true, Answer::Ending::Stall});
    const struct {
        const char* path;
        std::optional<uint64_t> exact;
        FetchStatus status;
    } cases[] = {
        {"/ok", std::nullopt, FetchStatus::Done},
        {"/ok", 5, FetchStatus::Done},
        {"/moved", std::nullopt, FetchStatus::Done},
        {"/missing", std::nullopt, FetchStatus::HttpError},
        {"/error", std::nullopt, FetchStatus::HttpError},
        {"/loop", std::nullopt, FetchStatus::TooManyRedirects},
        {"/away", std::nullopt, FetchStatus::RefusedAddress},
        {"/huge", std::nullopt, FetchStatus::TooLarge},
        {"/endless", std::nullopt, FetchStatus::TooLarge},
        {"/ok", 6, FetchStatus::WrongLength},
        {"/unannounced", 8, FetchStatus::WrongLength},
        {"/stall", std::nullopt, FetchStatus::Stalled},
    };
    for (const auto& c : cases) {
        const Fetched fetched = Fetch(server.Url(c.path), Limits(1000, c.exact));
        EXPECT_EQ(fetched.status, c.status) << c.path;
        if (c.status == FetchStatus::Done) {
            EXPECT_EQ(fetched.body, "hello") << c.path;
        }
    }
    // A body cut off before its announced length never counts.
    EXPECT_NE(Fetch(server.Url("/short"), Limits(1000)).status, FetchStatus::Done);
}

TEST(HttpFetchTest, ACancelEndsAWaitingFetchAtOnce) {
    LoopbackHttpServer server;
    server.Set("/stall", {200, "ab", {}, 10, true, Answer::Ending::Stall});
    std::atomic<bool> cancel{false};
    FetchLimits limits = Limits(1000);
    limits.stall = 60s;
    std::thread canceller([&] {
        std::this_thread::sleep_for(200ms);
        cancel = true;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Fetch(server.Url("/stall"), limits, &cancel).status, FetchStatus::Cancelled);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    canceller.join();
}

} // namespace
