#include "HelperProgram.h"

#include "platform/settings/SettingsKey.h"
#include "platform/sockets/TcpSockets.h"
#include "support/TempDir.h"

#include <QString>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;

constexpr auto kStartLimit = 30s;
constexpr auto kStopLimit = 30s;
const char* const kNetworkSetUp = "ip link set lo up && ip link add v0 type veth peer name v1 && "
                                  "ip addr add 10.77.0.1/24 dev v0 && ip link set v0 up && ip link set v1 up";

// The variables that say where a user's files are: the program gets its own.
bool IsUsersPlace(const std::string& variable) {
    return variable.starts_with("HOME=") || variable.starts_with("XDG_") || variable.starts_with("ORVANTIS_");
}

// Waits for the process to end, at most `limit`: whether it ended with code 0.
bool EndedWell(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

OwnNetwork::OwnNetwork() : m_original(open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC)) {
    if (m_original < 0 || unshare(CLONE_NEWNET) != 0) {
        m_refusal = std::string("no network namespace of our own: ") + std::strerror(errno);
        return;
    }
    if (std::system(kNetworkSetUp) != 0)
        m_refusal = "the namespace's link could not be made with ip";
}

OwnNetwork::~OwnNetwork() {
    if (m_original < 0)
        return;
    setns(m_original, CLONE_NEWNET);
    close(m_original);
}

HelperProgram::HelperProgram(const std::string& home, const std::vector<HelperSong>& songs)
    : m_home(home), m_library(home) {
    LayOut(songs);
    Start();
}

void HelperProgram::Start() {
    m_pid = Run({});
}

HelperProgram::~HelperProgram() {
    if (m_pid > 0)
        Stop();
}

// The home of a user who set the server up once: the settings key, the user's folders file, and a
// library that another program wrote over the songs in its music folder.
void HelperProgram::LayOut(const std::vector<HelperSong>& songs) const {
    std::filesystem::create_directories(m_home + "/.config");
    std::filesystem::create_directories(m_home + "/run");
    std::filesystem::permissions(m_home + "/run", std::filesystem::perms::owner_all);
    WriteText(m_home + "/.config/user-dirs.dirs", "XDG_MUSIC_DIR=\"$HOME/Music\"\n");
    {
        nativesettings::SettingsKey settings(QString::fromStdString(m_home + "/.config/Quelloran/Orvantis.conf"));
        settings.WriteDword(QStringLiteral("StartServer"), 1);
        settings.WriteDword(QStringLiteral("Server_Port"), kPort);
    }
    m_library.LayOut(songs);
}

std::vector<std::string> HelperProgram::Environment() const {
    std::vector<std::string> variables;
    for (char** variable = environ; *variable; ++variable) {
        if (!IsUsersPlace(*variable))
            variables.emplace_back(*variable);
    }
    for (const std::string& own :
         {"HOME=" + m_home, "XDG_CONFIG_HOME=" + m_home + "/.config", "XDG_DATA_HOME=" + m_home + "/.local/share",
          "XDG_CACHE_HOME=" + m_home + "/.cache", "XDG_RUNTIME_DIR=" + m_home + "/run",
          std::string("QT_QPA_PLATFORM=offscreen")})
        variables.push_back(own);
    return variables;
}

pid_t HelperProgram::Run(const std::vector<std::string>& arguments) const {
    std::vector<std::string> words{ORVANTIS_HELPER_PROGRAM};
    words.insert(words.end(), arguments.begin(), arguments.end());
    const std::vector<std::string> variables = Environment();
    std::vector<char*> argv;
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& variable : variables)
        envp.push_back(const_cast<char*>(variable.c_str()));
    envp.push_back(nullptr);
    const std::string output = m_home + "/helper-output.txt";
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        dup2(fd, STDOUT_FILENO);
        dup2(fd, STDERR_FILENO);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return pid;
}

bool HelperProgram::Listening() const {
    const auto end = std::chrono::steady_clock::now() + kStartLimit;
    while (std::chrono::steady_clock::now() < end) {
        if (m_pid <= 0 || waitpid(m_pid, nullptr, WNOHANG) != 0)
            return false;
        if (nativesockets::ConnectTcp(OwnNetwork::kServerAddress, kPort, nativesockets::Deadline::AfterMs(1000),
                                      nullptr)
                .IsOpen())
            return true;
        std::this_thread::sleep_for(50ms);
    }
    return false;
}

void HelperProgram::Pause() {
    kill(m_pid, SIGSTOP);
}

void HelperProgram::Resume() {
    kill(m_pid, SIGCONT);
}

bool HelperProgram::Stop() {
    if (m_pid <= 0)
        return false;
    Resume();
    const pid_t quit = Run({"__Q"});
    const bool quitEnded = EndedWell(quit, kStopLimit);
    const bool ended = EndedWell(m_pid, kStopLimit);
    m_pid = -1;
    return quitEnded && ended;
}

std::string HelperProgram::Output() const {
    std::ifstream in(m_home + "/helper-output.txt");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
