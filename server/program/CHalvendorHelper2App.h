#pragma once
// The server program's start: "__Q" asks the running one to quit and clears the files the programs
// handed each other; a second start ends at once; the first claims the program's endpoint and runs
// the hidden frame until "Exit" or a quit message.

#include "platform/ipc/PeerAddress.h"

#include <QStringList>

class CHalvendorHelper2App {
public:
    static constexpr char kQuitArgument[] = "__Q";

    CHalvendorHelper2App(QStringList arguments, nativeipc::PeerAddress peers)
        : m_arguments(std::move(arguments)), m_peers(std::move(peers)) {}

    // The program's exit code.
    int Run();

    // Deletes the regular files of "SyncSets" (links are not followed, folders stay): the number deleted.
    static int ClearSyncSetsFiles();

private:
    int Quit();

    QStringList m_arguments;
    nativeipc::PeerAddress m_peers;
};
