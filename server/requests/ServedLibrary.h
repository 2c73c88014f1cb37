#pragma once
// The local library the server serves, as every handler shares it: connections to it, tried again
// for a while when the application cannot answer at once; the folder of its music; and the files its
// tracks name, kept until the library changes. Thread-safe.

#include "foundation/AString.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_set>

class ITunes;

class ServedLibrary {
public:
    static constexpr int kDefaultConnectLimitMs = 10000;

    explicit ServedLibrary(int connectLimitMs = kDefaultConnectLimitMs) : m_connectLimitMs(connectLimitMs) {}

    // Runs `attempt` again every few milliseconds while it answers that the application cannot be
    // reached or asks to be called later, for at most the limit: the last attempt's code.
    int WhileUnreachable(const std::function<int()>& attempt) const;
    int Connect(ITunes& client) const;
    // The library's music folder, read afresh.
    AString MusicFolder() const;
    // Whether a track of the library names exactly this file. False when the library cannot be read.
    bool IsTrackFile(const AString& path) const;
    // The server changed the library's tracks: they are read again when next asked for.
    void Changed() const;

private:
    struct Stamp {
        int64_t modified = 0;
        int64_t size = -1;
        uint64_t inode = 0;
        bool operator==(const Stamp&) const = default;
    };

    // The library file as it stands: another program's save changes it.
    static Stamp LibraryStamp();
    bool ReadTrackFiles() const;

    int m_connectLimitMs;
    mutable std::mutex m_lock;
    mutable bool m_known = false;
    mutable Stamp m_stamp;
    mutable std::unordered_set<std::u16string> m_trackFiles;
};
