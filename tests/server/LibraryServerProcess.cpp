#include "LibraryServerProcess.h"

#include "LoopbackServer.h"
#include "library/itunes/ITunesTagReader.h"
#include "platform/itunes/ITunesInstance.h"
#include "server/requests/ASyncWSocksServer.h"
#include "server/requests/LibraryRequestHandlers.h"
#include "server/requests/ServedLibrary.h"

#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kStartLimitMs = 30000;
constexpr int kPortAttempts = 200;

itunesapp::ITunesInstance::Setup SavingAtOnce() {
    itunesapp::ITunesInstance::Setup setup;
    setup.tagReader = std::make_shared<ITunesTagReader>();
    setup.quietTime = std::chrono::milliseconds(0);
    setup.longestDelay = std::chrono::milliseconds(0);
    return setup;
}

std::unique_ptr<ASyncWSocksServer> ListeningServer(const std::shared_ptr<ServedLibrary>& library) {
    for (int attempt = 0; attempt < kPortAttempts; ++attempt) {
        auto server = std::make_unique<ASyncWSocksServer>(LoopbackServer::kServerAddress, nullptr);
        RegisterLibraryRequestHandlers(*server, library, nullptr);
        server->SetBasePort(LoopbackServer::RandomPort());
        if (server->StartListening() && !server->BindFailed())
            return server;
    }
    return nullptr;
}

bool WriteWhole(int fd, const void* data, size_t size) {
    return write(fd, data, size) == static_cast<ssize_t>(size);
}

} // namespace

void LibraryServerProcess::UseHome(const std::string& home) {
    setenv("XDG_MUSIC_DIR", (home + "/Music").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
}

// The child: nothing it does reaches back into the test but the port it reports and its exit code.
void LibraryServerProcess::Serve(const std::string& home, const Build& build, int ready, int control) {
    UseHome(home);
    itunesapp::ITunesInstance::Install(SavingAtOnce());
    build();
    std::unique_ptr<ASyncWSocksServer> server = ListeningServer(std::make_shared<ServedLibrary>());
    const uint16_t port = server ? server->GetBasePort() : 0;
    WriteWhole(ready, &port, sizeof port);
    close(ready);
    // Serves until the test closes its end of the control pipe.
    char byte;
    while (read(control, &byte, 1) > 0) {
    }
    server.reset();
    const bool saved = itunesapp::ITunesInstance::Running().Flush();
    _exit(port != 0 && saved ? 0 : 1);
}

LibraryServerProcess::LibraryServerProcess(const std::string& home, const Build& build) {
    int ready[2];
    int control[2];
    if (pipe(ready) != 0 || pipe(control) != 0)
        return;
    m_pid = fork();
    if (m_pid == 0) {
        close(ready[0]);
        close(control[1]);
        Serve(home, build, ready[1], control[0]);
    }
    close(ready[1]);
    close(control[0]);
    m_control = control[1];
    pollfd wait{ready[0], POLLIN, 0};
    uint16_t port = 0;
    if (m_pid > 0 && poll(&wait, 1, kStartLimitMs) == 1 && read(ready[0], &port, sizeof port) == sizeof port)
        m_port = port;
    close(ready[0]);
}

bool LibraryServerProcess::Stop() {
    if (m_pid <= 0)
        return false;
    close(m_control);
    int status = 0;
    const bool ended = waitpid(m_pid, &status, 0) == m_pid;
    m_pid = -1;
    return ended && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

LibraryServerProcess::~LibraryServerProcess() {
    Stop();
}
