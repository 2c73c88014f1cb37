#pragma once
// Where each program's endpoint lies: the stand-in for the window class "Orvantis" of the main program
// and the window title "OrvantisHelper" of the server program, by which each finds the other. Every
// user has endpoints of their own, named by the program and the user id, in a folder only that user
// can enter.

#include <QString>

namespace nativeipc {

enum class PeerProgram { Main, Server };

class PeerAddress {
public:
    // The user's runtime folder ($XDG_RUNTIME_DIR, else a private folder in the temporary folder).
    static PeerAddress ForCurrentUser();
    // Endpoints in a folder of the caller's choice (tests; the folder must exist).
    explicit PeerAddress(QString folder) : m_folder(std::move(folder)) {}

    // "Orvantis" or "OrvantisHelper".
    static QString ProgramName(PeerProgram program);
    // Empty when the user has no usable folder: nothing can then be reached or listened on.
    QString EndpointPath(PeerProgram program) const;

private:
    QString m_folder;
};

} // namespace nativeipc
