#pragma once
// The server program as a user starts it, for tests of the two programs together: `OrvantisHelper`
// runs as a process of its own, with its own home (settings, XDG folders, runtime folder) and its own
// library file, written by Python's property-list writer over song files made by real tools, and
// listens on the address of its own network: OwnNetwork, which the calling thread enters first.

#include "LibraryHome.h"

#include <cstdint>
#include <set>
#include <string>
#include <sys/types.h>
#include <vector>

// A network namespace of the calling thread's own for as long as the object lives: loopback and a
// link holding the one address that is not loopback, which the server program listens on. Threads and
// processes started from the thread meanwhile stay in it; the thread itself goes back at the end.
class OwnNetwork {
public:
    static constexpr uint32_t kServerAddress = 0x0A4D0001;
    static constexpr const char* kServerText = "10.77.0.1";

    OwnNetwork();
    ~OwnNetwork();
    OwnNetwork(const OwnNetwork&) = delete;
    OwnNetwork& operator=(const OwnNetwork&) = delete;

    // Empty when the thread is in a network of its own; else why it is not (the caller skips).
    const std::string& Refusal() const { return m_refusal; }

private:
    int m_original = -1;
    std::string m_refusal;
};

class HelperProgram {
public:
    static constexpr uint16_t kPort = 10564;

    // Lays out `home` (settings with the server on, the user's folders, the library file and its song
    // files) and starts the program there; see Listening().
    HelperProgram(const std::string& home, const std::vector<HelperSong>& songs);
    // Starts it again after Stop, in the home as it was left.
    void Start();
    // Stops it when it still runs.
    ~HelperProgram();
    HelperProgram(const HelperProgram&) = delete;
    HelperProgram& operator=(const HelperProgram&) = delete;

    // Whether it listens on OwnNetwork's address within the start limit.
    bool Listening() const;
    const LibraryHome& Library() const { return m_library; }
    std::string MusicFolder() const { return m_library.MusicFolder(); }
    std::string FileOf(const HelperSong& song) const { return m_library.FileOf(song); }
    std::string RemovedFiles() const { return m_library.RemovedFiles(); }

    // A server that falls silent: the process stops (its connections stay open) and goes on again.
    void Pause();
    void Resume();
    // Ends it as a user's second start with "__Q" does, and waits: true when it ended well (it saves its
    // library as it ends).
    bool Stop();

    // Read once it has ended, by Python's property-list reader: the file of every track of its library.
    std::set<std::string> LibraryFiles() const { return m_library.LibraryFiles(); }
    // Every file below its music folder's parent ("iTunes"), the library file and Removed Files too.
    std::set<std::string> FilesBelowITunes() const { return m_library.FilesBelowITunes(); }
    // What the program printed.
    std::string Output() const;

private:
    void LayOut(const std::vector<HelperSong>& songs) const;
    std::vector<std::string> Environment() const;
    pid_t Run(const std::vector<std::string>& arguments) const;

    std::string m_home;
    LibraryHome m_library;
    pid_t m_pid = -1;
};
