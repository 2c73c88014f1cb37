#pragma once
// A small HTTP server on 127.0.0.1 for the tests of fetches: each path answers as the test set it
// (any status and headers, a body of its own, a length that lies, a body that never ends or stops
// half-way), every other path answers 404. Each connection is served on a thread of its own and
// closed after one answer; the server records the paths asked for.

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

class LoopbackHttpServer {
public:
    struct Answer {
        enum class Ending { Close, Endless, Stall };

        int status = 200;
        std::string body;
        std::vector<std::pair<std::string, std::string>> headers;
        // The length announced; none: the body's own, unless `announceLength` is off.
        std::optional<uint64_t> announcedLength;
        bool announceLength = true;
        // After the body: close, send bytes for ever, or wait without sending or closing.
        Ending ending = Ending::Close;
    };

    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    uint16_t Port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::string Url(const std::string& path) const;
    void Set(const std::string& path, Answer answer);
    std::vector<std::string> RequestedPaths() const;

private:
    void Accept();
    void Serve(int connection);
    std::optional<Answer> AnswerFor(const std::string& path);

    int m_listener = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_lock;
    std::map<std::string, Answer> m_answers;
    std::vector<std::string> m_requested;
    std::vector<std::thread> m_connections;
    std::thread m_acceptor;
};
