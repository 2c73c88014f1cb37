#pragma once
// A private message between the two programs: its number and two parameters, as a window message
// carried them, and a small payload of bytes where a message needs more (the ".txfig" path of a
// second start). The numbers are those of the Windows messages (WM_USER = 0x400); a number may mean
// different things to the two programs, since each reads its own messages.

#include <QByteArray>
#include <cstdint>

namespace nativeipc {

struct PeerMessage {
    uint32_t number = 0;
    int64_t wParam = 0;
    int64_t lParam = 0;
    QByteArray payload;
};

namespace peermessage {

// To the server program.
constexpr uint32_t kHelperReloadSettings = 0x40A;    // post: read the shared settings again
constexpr uint32_t kHelperQuit = 0x41E;              // send, from a second start with "__Q": quit
constexpr uint32_t kHelperWriteRouterStatus = 0x423; // send: "Router.stat" is written when it returns
constexpr uint32_t kHelperTestRouter = 0x424;        // post: start the router test
// To the server program (send: write the host list named by lParam before returning) and from it
// (post: the host list named by lParam holds a host that just joined).
constexpr uint32_t kHostListReady = 0x41C;

// To the main program.
constexpr uint32_t kRouterTestFailed = 0x420; // post
constexpr uint32_t kRouterTestDone = 0x421;   // post
constexpr uint32_t kStartupConfig = 0x425;    // post, from a second start given a ".txfig" path
constexpr uint32_t kCommand = 0x111;          // post: the menu command wParam (11000: the about box)

// What one program did to the other's window directly: show it (wParam: how) and bring it to the front.
constexpr uint32_t kShowWindow = 0x018;
constexpr int64_t kShowAsItWas = 5; // a second start
constexpr int64_t kRestore = 9;     // the server program's "Show Orvantis"

} // namespace peermessage
} // namespace nativeipc
