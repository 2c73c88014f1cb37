#pragma once
// The main program's start: it records a router configuration named on the command line in the
// start-up file, stays the only main program of its user (a second start shows the running one,
// hands it that configuration and ends without a window), makes the socket client and the library
// client, and runs the main window until it ends.

#include "platform/ipc/PeerAddress.h"
#include "platform/ipc/PeerMessage.h"

#include <QString>
#include <QStringList>

class CHalvendorDlg;

class CHalvendorApp {
public:
    CHalvendorApp(QStringList arguments, nativeipc::PeerAddress peers);

    // The program's exit code; a second start returns at once.
    int Run();

    // Records the router configuration's path as key "file" of section "Startup" in "startuptxfig";
    // false when the data folder cannot be had.
    static bool RecordStartupConfig(const QString& path);
    // What the other programs ask of the running window: show itself, load the start-up file, the
    // router test's end, a host that joined, a command. The answer of a send; 0 for a message it
    // does not take.
    static int64_t HandlePeerMessage(CHalvendorDlg& window, const nativeipc::PeerMessage& message);

private:
    QStringList m_arguments;
    nativeipc::PeerAddress m_peers;
};
