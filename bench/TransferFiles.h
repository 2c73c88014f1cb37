#pragma once
// What the transfer benchmarks share: a scratch folder, whole writes of a descriptor, the raw TCP peers
// of a transfer (a file's bytes sent, and received into a new file that replaces its target), and the
// time a piece of work takes.

#include "platform/sockets/TcpSockets.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

constexpr uint32_t kBenchServerAddress = 0x7F000002; // 127.0.0.2
constexpr uint32_t kBenchClientAddress = 0x7F000001;
constexpr size_t kRawChunk = 1 << 20;

// A new folder below $TMPDIR (or /tmp); the benchmark removes it.
inline std::string MakeBenchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string folder = std::string(base && *base ? base : "/tmp") + "/orvantis-bench-XXXXXX";
    if (!mkdtemp(folder.data()))
        std::abort();
    return folder;
}

inline bool WriteWholeFile(int fd, const uint8_t* data, size_t size) {
    for (size_t done = 0; done < size;) {
        const ssize_t put = write(fd, data + done, size - done);
        if (put <= 0)
            return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

// The seconds `work` took; `ok` turns false when it failed.
inline double SecondsOfWork(const std::function<bool()>& work, bool& ok) {
    const auto start = std::chrono::steady_clock::now();
    ok = work() && ok;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Sends the file's bytes, read from the disk as they go.
inline bool SendFileBytes(const nativesockets::SocketHandle& socket, const std::string& path, int stallMs) {
    const int fd = open(path.c_str(), O_RDONLY);
    std::vector<uint8_t> buffer(kRawChunk);
    bool ok = fd >= 0;
    for (ssize_t got; ok && (got = read(fd, buffer.data(), buffer.size())) > 0;)
        ok = nativesockets::SendAll(socket, std::span(buffer.data(), static_cast<size_t>(got)), stallMs, nullptr)
                 .status == nativesockets::IoStatus::Done;
    close(fd);
    return ok;
}

// Receives `size` bytes into a new file beside the target, syncs it, renames it over the target and syncs
// the folder, as the link's receiving ends do.
inline bool ReceiveIntoReplacement(const nativesockets::SocketHandle& socket, const std::string& target, size_t size,
                                   int waitMs) {
    const std::string temporary = target + ".part";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<uint8_t> buffer(kRawChunk);
    size_t done = 0;
    bool ok = fd >= 0;
    while (ok && done < size) {
        const auto got =
            nativesockets::ReceiveSome(socket, buffer, nativesockets::Deadline::AfterMs(waitMs), nullptr);
        ok = got.status == nativesockets::IoStatus::Done && WriteWholeFile(fd, buffer.data(), got.count);
        done += got.count;
    }
    ok = ok && fsync(fd) == 0;
    close(fd);
    if (!ok || rename(temporary.c_str(), target.c_str()) != 0)
        return false;
    const int folder = open(target.substr(0, target.rfind('/')).c_str(), O_RDONLY | O_DIRECTORY);
    ok = folder >= 0 && fsync(folder) == 0;
    close(folder);
    return ok;
}
