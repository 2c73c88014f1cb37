#include "app/state/HelperProgram.h"

#include "platform/ipc/PeerLink.h"
#include "platform/shell/Shell.h"

using nativeipc::Delivery;
using nativeipc::PeerLink;
using nativeipc::PeerProgram;
namespace peermessage = nativeipc::peermessage;

bool HelperProgram::IsRunning() const {
    return PeerLink(m_address).IsRunning(PeerProgram::Server);
}

void HelperProgram::StartIfAbsent(nativeshell::Shell& shell, const QString& programFolder) const {
    if (!IsRunning())
        shell.StartProgram(programFolder + QLatin1Char('/') + QLatin1String(kFileName), {});
}

bool HelperProgram::PostReloadSettings() const {
    return Post(peermessage::kHelperReloadSettings);
}

bool HelperProgram::SendHostListReady(int64_t t) const {
    return Send(peermessage::kHostListReady, t);
}

bool HelperProgram::SendWriteRouterStatus() const {
    return Send(peermessage::kHelperWriteRouterStatus, 0);
}

bool HelperProgram::PostTestRouter() const {
    return Post(peermessage::kHelperTestRouter);
}

bool HelperProgram::Post(uint32_t number) const {
    return PeerLink(m_address).Post(PeerProgram::Server, {number, 0, 0, {}}) == Delivery::Delivered;
}

bool HelperProgram::Send(uint32_t number, int64_t lParam) const {
    return PeerLink(m_address).Send(PeerProgram::Server, {number, 0, lParam, {}}).delivery ==
           Delivery::Delivered;
}
