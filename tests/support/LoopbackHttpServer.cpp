#include "support/LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <sstream>

namespace {

constexpr int kPollMs = 20;
constexpr size_t kMaxRequestBytes = 16 * 1024;
constexpr size_t kEndlessPiece = 16 * 1024;

// Waits for the descriptor to be readable; false when the server stops first.
bool WaitReadable(int descriptor, const std::atomic<bool>& stop) {
    while (!stop) {
        pollfd poller{descriptor, POLLIN, 0};
        const int ready = poll(&poller, 1, kPollMs);
        if (ready > 0)
            return true;
        if (ready < 0)
            return false;
    }
    return false;
}

// Sends everything unless the peer goes or the server stops first.
bool SendAll(int descriptor, const std::string& bytes, const std::atomic<bool>& stop) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        if (stop)
            return false;
        pollfd poller{descriptor, POLLOUT, 0};
        if (poll(&poller, 1, kPollMs) <= 0)
            continue;
        const ssize_t count =
            send(descriptor, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (count <= 0 && errno != EAGAIN)
            return false;
        sent += static_cast<size_t>(std::max<ssize_t>(count, 0));
    }
    return true;
}

// The path of "GET <path> HTTP/1.1", or empty.
std::string RequestPath(const std::string& request) {
    std::istringstream line(request.substr(0, request.find("\r\n")));
    std::string method;
    std::string path;
    line >> method >> path;
    return path;
}

std::string Head(const LoopbackHttpServer::Answer& answer) {
    std::ostringstream head;
    head << "HTTP/1.1 " << answer.status << " Answer\r\nConnection: close\r\n";
    if (answer.announceLength)
        head << "Content-Length: " << answer.announcedLength.value_or(answer.body.size()) << "\r\n";
    for (const auto& [name, value] : answer.headers)
        head << name << ": " << value << "\r\n";
    head << "\r\n";
    return head.str();
}

} // namespace

LoopbackHttpServer::LoopbackHttpServer() {
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(m_listener, 64) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { Accept(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    m_stop = true;
    if (m_acceptor.joinable())
        m_acceptor.join();
    for (std::thread& connection : m_connections)
        connection.join();
    close(m_listener);
}

std::string LoopbackHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

void LoopbackHttpServer::Set(const std::string& path, Answer answer) {
    std::lock_guard lock(m_lock);
    m_answers[path] = std::move(answer);
}

std::vector<std::string> LoopbackHttpServer::RequestedPaths() const {
    std::lock_guard lock(m_lock);
    return m_requested;
}

void LoopbackHttpServer::Accept() {
    while (WaitReadable(m_listener, m_stop)) {
        const int connection = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        std::lock_guard lock(m_lock);
        m_connections.emplace_back([this, connection] {
            Serve(connection);
            close(connection);
        });
    }
}

std::optional<LoopbackHttpServer::Answer> LoopbackHttpServer::AnswerFor(const std::string& path) {
    std::lock_guard lock(m_lock);
    m_requested.push_back(path);
    const auto found = m_answers.find(path);
    if (found == m_answers.end())
        return std::nullopt;
    return found->second;
}

void LoopbackHttpServer::Serve(int connection) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < kMaxRequestBytes) {
        if (!WaitReadable(connection, m_stop))
            return;
        const ssize_t count = recv(connection, buffer, sizeof buffer, 0);
        if (count <= 0)
            return;
        request.append(buffer, static_cast<size_t>(count));
    }
    Answer answer = AnswerFor(RequestPath(request)).value_or(Answer{404, "not here", {}, {}, true, {}});
    if (!SendAll(connection, Head(answer) + answer.body, m_stop))
        return;
    if (answer.ending == Answer::Ending::Endless) {
        const std::string piece(kEndlessPiece, 'x');
        while (!m_stop && SendAll(connection, piece, m_stop)) {
        }
    } else if (answer.ending == Answer::Ending::Stall) {
        // Until the client gives up (its close reads as the end) or the server stops.
        while (WaitReadable(connection, m_stop) && recv(connection, buffer, sizeof buffer, 0) > 0) {
        }
    }
}
