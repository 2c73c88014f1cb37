#pragma once
// The main window as the program makes it, over a test's own user (AppTestHome): the real music
// application, the socket client (with an address of its own, so hosts on loopback count as other
// computers), the volumes watched as the program watches them, and the about page of the source tree.
// Its network scan finds no address answering unless a test sets a pinger of its own, and Bonjour
// finds no library unless a test names one (the stub), so nothing leaves this computer.

#include "app/devices/ITunesLibraryClient.h"
#include "app/window/CHalvendorDlg.h"
#include "app/window/MainSockets.h"
#include "harness/AppTestHome.h"

#include <chrono>
#include <memory>

// What a test may give the window beyond the defaults.
struct WindowOptions {
    static constexpr uint32_t kLocalAddress = 0x0AFF0001; // 10.255.0.1
    static constexpr const char* kNoDnsSd = "/nonexistent/libdns_sd.so.1";

    uint32_t localAddress = kLocalAddress;
    std::string dnssdLibrary = kNoDnsSd;
    UpdateChecker* updates = nullptr;
    nativeshell::Shell* shell = nullptr;
};

class WindowUnderTest {
public:
    static constexpr uint32_t kLocalAddress = WindowOptions::kLocalAddress;

    using Options = WindowOptions;

    explicit WindowUnderTest(const AppTestHome& home, StartupCommandLine commandLine = {}, Options options = {});
    ~WindowUnderTest();

    CHalvendorDlg& Window() { return *m_window; }
    MainWindowControls& Controls() { return m_window->Controls(); }
    MainSockets& Sockets() { return m_sockets; }
    nativeipc::PeerAddress Peers() const;

    // Opens the window and waits until its first data load has ended.
    bool StartAndWaitIdle(std::chrono::milliseconds limit = std::chrono::milliseconds(20000));
    // No operation runs and the busy lock is free.
    bool IsIdle() const;
    bool WaitIdle(std::chrono::milliseconds limit = std::chrono::milliseconds(20000));
    // The chooser's entries' texts, in order.
    QStringList ChooserTexts() const;
    QStringList ComboTexts(const SeparatorComboBox& combo) const;
    // The server program's notice of a host that joined: its host list `number` holds the host.
    void AnnounceHost(const FoundHost& host, int number);

private:
    const AppTestHome& m_home;
    ITunesLibraryClient m_library;
    MainSockets m_sockets;
    std::unique_ptr<CHalvendorDlg> m_window;
};
