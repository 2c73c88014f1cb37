#pragma once
// A server program of its own on 127.0.0.2: a child process with its own music and data folders below
// `home` and its own stand-in library, which `build` fills (in the child) before the server listens on
// a pair of ports found free. Stopping it, or letting the object go, ends the server and waits for the
// process; the library is saved by then.

#include <cstdint>
#include <functional>
#include <string>
#include <sys/types.h>

class LibraryServerProcess {
public:
    using Build = std::function<void()>;

    LibraryServerProcess(const std::string& home, const Build& build);
    ~LibraryServerProcess();
    LibraryServerProcess(const LibraryServerProcess&) = delete;
    LibraryServerProcess& operator=(const LibraryServerProcess&) = delete;

    // 0 when the server did not start.
    uint16_t Port() const { return m_port; }
    // True when the process ended well.
    bool Stop();

    // The environment of a program whose music and data folders lie below `home`.
    static void UseHome(const std::string& home);

private:
    [[noreturn]] static void Serve(const std::string& home, const Build& build, int ready, int control);

    pid_t m_pid = -1;
    int m_control = -1;
    uint16_t m_port = 0;
};
