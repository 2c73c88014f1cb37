#include "platform/ipc/PeerAddress.h"

#include <QStandardPaths>
#include <unistd.h>

namespace nativeipc {

PeerAddress PeerAddress::ForCurrentUser() {
    return PeerAddress(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
}

QString PeerAddress::ProgramName(PeerProgram program) {
    return program == PeerProgram::Main ? QStringLiteral("Orvantis") : QStringLiteral("OrvantisHelper");
}

QString PeerAddress::EndpointPath(PeerProgram program) const {
    if (m_folder.isEmpty())
        return {};
    return m_folder + u'/' + ProgramName(program) + u'-' + QString::number(geteuid()) +
           QStringLiteral(".ipc");
}

} // namespace nativeipc
